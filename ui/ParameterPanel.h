#pragma once

#include "engine/Parameter.h"

#include <QObject>

class MainController;
class ParameterComboBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The format, its six parameters and the output folder on the window's
// right, bound to the controller's form: what the user picks or types goes
// into the form, and the form's values and rules come back into the boxes.
class ParameterPanel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ParameterPanel)

public:
    ParameterPanel(MainController &controller, QWidget *window);

    // The boxes as the form and its rules stand.
    void refresh();
    // The batch took its settings and output folder at Start; what changes
    // meanwhile would be silently ignored.
    void setEnabled(bool enabled);
    void cmdBrowse_Click();

private:
    void createControls(QWidget *window);
    void bindControls();
    void showParameterStates();
    ParameterComboBox *box(Parameter parameter) const;

    MainController &m_controller;
    QComboBox *m_cmbOF = nullptr;
    ParameterComboBox *m_cmbVB = nullptr;
    ParameterComboBox *m_cmbF = nullptr;
    ParameterComboBox *m_cmbS = nullptr;
    ParameterComboBox *m_cmbR = nullptr;
    ParameterComboBox *m_cmbBR = nullptr;
    ParameterComboBox *m_cmbChannel = nullptr;
    QLineEdit *m_txtPath = nullptr;
    QPushButton *m_cmdBrowse = nullptr;
    bool m_refreshing = false;
};
