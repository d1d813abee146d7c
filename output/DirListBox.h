#pragma once

#include <QString>
#include <QTreeWidget>

// A folder list: the current folder's ancestors from the root down, opened,
// and the folders inside it. A double click opens a folder.
class DirListBox : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DirListBox(QWidget *parent = nullptr);

    // The current folder, absolute and without a trailing separator (but
    // the root itself).
    QString path() const { return m_path; }
    // A path that is no folder leaves the list as it is.
    void setPath(const QString &path);

signals:
    void pathChanged(const QString &path);

private:
    QString m_path;
};
