#include "ReaderProperties.h"
#include "VersionProperties.h"

#include <QDir>
#include <QtTest>

namespace {

using Check = QString (*)(const QByteArray &);

struct Target
{
    const char *name;
    Check check;
};

const Target kTargets[] = {
    { "fuzz_setting", &ReaderProperties::setting },
    { "fuzz_grade", &ReaderProperties::grade },
    { "fuzz_save", &ReaderProperties::save },
    { "fuzz_connectionstring", &ReaderProperties::connectionString },
    { "fuzz_version", &VersionProperties::versionFile },
};

// The seeds each fuzz run starts from, and the inputs fuzzers broke on.
QList<QPair<QString, QString>> inputFolders(const char *target)
{
    return { { QStringLiteral("seed"), QStringLiteral(VEXA_FUZZ_CORPUS "/") + QLatin1String(target) },
        { QStringLiteral("found"),
            qEnvironmentVariable("VEXA_TEST_FIXTURES") + QStringLiteral("/fuzz/") + QLatin1String(target) } };
}

QFileInfoList inputsOf(const QString &folder)
{
    return QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestFuzzInputs : public QObject
{
    Q_OBJECT

private slots:
    void everyTargetHasSeeds()
    {
        for (const Target &target : kTargets)
            QVERIFY2(!inputsOf(inputFolders(target.name).first().second).isEmpty(), target.name);
    }

    void inputsHoldTheProperties_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("path");
        for (int t = 0; t < int(std::size(kTargets)); ++t) {
            for (const auto &[kind, folder] : inputFolders(kTargets[t].name)) {
                for (const QFileInfo &input : inputsOf(folder)) {
                    const QString row = QLatin1String(kTargets[t].name) + QLatin1Char('/') + kind
                        + QLatin1Char('/') + input.fileName();
                    QTest::newRow(qPrintable(row)) << t << input.filePath();
                }
            }
        }
    }

    void inputsHoldTheProperties()
    {
        QFETCH(int, target);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        const QString why = kTargets[target].check(file.readAll());
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }
};

QTEST_GUILESS_MAIN(TestFuzzInputs)
#include "tst_fuzzinputs.moc"
