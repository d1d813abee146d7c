// Times the game's hot paths as medians over repeated runs. Not a test:
// run it by hand on a quiet machine and copy the table into the README.
#include "AppPath.h"
#include "BenchTimer.h"
#include "GameState.h"
#include "ModuleGetNumber.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    AppPath::setFolder(QStringLiteral(VEXA_BIN_DIR));
    QList<BenchTimer::Result> results;

    GameState state;
    ModuleGetNumber bank(state);
    results << BenchTimer::measure(
        QStringLiteral("open the bank and draw one puzzle with its 81 fields"), 50, 20, [&] {
            bank.GetNumber();
            for (int i = 0; i < 81; ++i)
                state.SolutionNumber[std::size_t(i)]
                    = qint16(bank.rsProblem.Fields(QStringLiteral("l(%1)").arg(i)).toInt());
        });
    bank.CloseBank();

    BenchTimer::print(results);
    return 0;
}
