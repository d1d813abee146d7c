// Builds the puzzle bank from its plain-text source of solved grids and
// refuses any grid that is not a valid Sudoku solution.
#include "AdoError.h"
#include "BankBuilder.h"
#include "ModuleGetNumber.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "usage: make_bank SOURCE.txt OUTPUT.dbs\n";
        return 2;
    }
    QFile source(args.at(1));
    if (!source.open(QIODevice::ReadOnly)) {
        err << "make_bank: cannot read " << args.at(1) << "\n";
        return 1;
    }
    try {
        const auto entries = BankBuilder::parseSource(QString::fromUtf8(source.readAll()));
        if (entries.isEmpty())
            throw AdoError(QStringLiteral("no grids in the source"));
        BankBuilder::write(args.at(2), ModuleGetNumber::bankPassword(), entries);
        QTextStream(stdout) << "make_bank: " << entries.size() << " grids written to " << args.at(2) << "\n";
    } catch (const AdoError &e) {
        err << "make_bank: " << args.at(1) << ": " << e.description() << "\n";
        return 1;
    }
    return 0;
}
