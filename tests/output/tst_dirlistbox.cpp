#include "DirListBox.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A real double click: a click, then the second press as a double click.
void doubleClick(DirListBox &list, QTreeWidgetItem *item)
{
    const QPoint at = list.visualItemRect(item).center();
    QVERIFY(list.viewport()->rect().contains(at));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

QStringList texts(QTreeWidgetItem *parent)
{
    QStringList list;
    for (int i = 0; i < parent->childCount(); ++i)
        list << parent->child(i)->text(0);
    return list;
}

} // namespace

class TestDirListBox : public QObject
{
    Q_OBJECT

private slots:
    void showsTheChainAndTheFoldersInside()
    {
        QTemporaryDir base;
        for (const char *name : { "beta", "Alpha", "gamma" })
            QVERIFY(QDir(base.path()).mkdir(QString::fromLatin1(name)));
        QFile file(base.filePath(QStringLiteral("note.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        DirListBox list;
        QSignalSpy changed(&list, &DirListBox::pathChanged);
        list.setPath(base.path() + QStringLiteral("/"));
        QCOMPARE(list.path(), QDir::cleanPath(base.path()));
        QCOMPARE(changed.count(), 1);

        // One opened item per folder from the root down, then the folders
        // inside, sorted without regard to case; files are not listed.
        QCOMPARE(list.topLevelItemCount(), 1);
        QCOMPARE(list.topLevelItem(0)->text(0), QStringLiteral("/"));
        QStringList chain;
        QTreeWidgetItem *item = list.topLevelItem(0);
        const int depth = QDir::cleanPath(base.path()).count(QLatin1Char('/'));
        for (int level = 0; level < depth; ++level) {
            QVERIFY(item->childCount() >= 1);
            item = item->child(0);
            chain << item->text(0);
        }
        QCOMPARE(QStringLiteral("/") + chain.join(QLatin1Char('/')), QDir::cleanPath(base.path()));
        QCOMPARE(list.currentItem(), item);
        QCOMPARE(texts(item), (QStringList { "Alpha", "beta", "gamma" }));
    }

    void doubleClickOpensAFolder()
    {
        QTemporaryDir base;
        QVERIFY(QDir(base.path()).mkpath(QStringLiteral("outer/inner")));
        DirListBox list;
        list.resize(300, 400);
        list.show();
        list.setPath(base.path());
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTreeWidgetItem *outer = list.currentItem()->child(0);
        QCOMPARE(outer->text(0), QStringLiteral("outer"));
        // One click only chooses.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(outer).center());
        QCOMPARE(list.path(), QDir::cleanPath(base.path()));
        doubleClick(list, outer);
        QCOMPARE(list.path(), base.filePath(QStringLiteral("outer")));
        QCOMPARE(texts(list.currentItem()), QStringList { QStringLiteral("inner") });

        // Up again, through the parent in the chain.
        QTreeWidgetItem *parent = list.currentItem()->parent();
        doubleClick(list, parent);
        QCOMPARE(list.path(), QDir::cleanPath(base.path()));
    }

    void noFolderKeepsTheList()
    {
        QTemporaryDir base;
        DirListBox list;
        list.setPath(base.path());
        QSignalSpy changed(&list, &DirListBox::pathChanged);
        list.setPath(base.filePath(QStringLiteral("missing")));
        list.setPath(QString());
        QCOMPARE(list.path(), QDir::cleanPath(base.path()));
        QCOMPARE(changed.count(), 0);
        // The same folder again is no change either.
        list.setPath(base.path());
        QCOMPARE(changed.count(), 0);
        QVERIFY(list.currentItem());
    }
};

QTEST_MAIN(TestDirListBox)
#include "tst_dirlistbox.moc"
