#pragma once

#include "engine/Parameter.h"

#include <QObject>
#include <QRect>

#include <array>

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

private:
    void createControls(QWidget *window);
    void addBox(QWidget *window, Parameter parameter, QRect geometry);
    void bindControls();
    void showParameterStates();
    ParameterComboBox *box(Parameter parameter) const;

    MainController &m_controller;
    QComboBox *m_cmbOF = nullptr;
    // cmbS, cmbVB, cmbF, cmbR, cmbBR and cmbChannel, in AllParameters' order.
    std::array<ParameterComboBox *, AllParameters.size()> m_boxes{};
    QLineEdit *m_txtPath = nullptr;
    QPushButton *m_cmdBrowse = nullptr;
    bool m_refreshing = false;
};
