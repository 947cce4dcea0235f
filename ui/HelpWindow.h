#pragma once

#include <QDialog>

class QTextBrowser;

// The help pages shown inside the program, so help needs no browser; links
// between the pages stay inside, links to the web go to the desktop.
class HelpWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpWindow)

public:
    HelpWindow(const QString &indexFile, QWidget *parent = nullptr);

    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};
