#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

// The program's own help: the HTML pages beside the program in a browser
// window of its own. One window serves every request; asking again brings
// it to the front. Only pages on the disk are ever shown.
class FormHelp : public QWidget
{
    Q_OBJECT
public:
    explicit FormHelp(QWidget *parent = nullptr);
    ~FormHelp() override;

    // The start page, beside the program.
    static QString indexFile();
    // Opens the help window on the start page, over the main window, or
    // raises the one already open. A missing start page is reported and
    // nothing opens. The window belongs to no other; whoever ends the
    // program deletes it.
    static FormHelp *open(QWidget *mainWindow);
    // The window that is open, or null.
    static FormHelp *instance();

    QTextBrowser *browser() const { return m_browser; }
    void showPage(const QUrl &url);

private slots:
    void followLink(const QUrl &url);

private:
    QTextBrowser *m_browser = nullptr;
};
