#include "DirListBox.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

namespace {
constexpr int kPathRole = Qt::UserRole;
}

DirListBox::DirListBox(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setIndentation(12);
    setUniformRowHeights(true);
    // Opening happens by double click only; the tree never folds.
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
        [this](QTreeWidgetItem *item) { setPath(item->data(0, kPathRole).toString()); });
}

void DirListBox::setPath(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return;
    const QString folder = QDir::cleanPath(info.absoluteFilePath());

    QStringList chain;
    QDir dir(folder);
    chain.prepend(dir.absolutePath());
    while (!dir.isRoot() && dir.cdUp())
        chain.prepend(dir.absolutePath());

    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem *parent = nullptr;
    for (const QString &step : chain) {
        const QString name = QDir(step).isRoot() ? step : QFileInfo(step).fileName();
        auto *item = parent ? new QTreeWidgetItem(parent, { name }) : new QTreeWidgetItem(this, { name });
        item->setIcon(0, open);
        item->setData(0, kPathRole, step);
        item->setExpanded(true);
        parent = item;
    }
    const QStringList inside
        = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : inside) {
        auto *item = new QTreeWidgetItem(parent, { name });
        item->setIcon(0, closed);
        item->setData(0, kPathRole, QDir(folder).filePath(name));
    }
    expandAll();
    setCurrentItem(parent);
    scrollToItem(parent);

    const bool changed = folder != m_path;
    m_path = folder;
    if (changed)
        emit pathChanged(m_path);
}
