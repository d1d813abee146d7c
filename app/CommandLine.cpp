#include "CommandLine.h"

#include <QCommandLineParser>
#include <QLocale>
#include <cstdio>

namespace {

// Qt's standard options that take a value, and those that do not, as Qt
// and its X11 platform read them; they pass through untouched.
const char *const kQtValueOptions[] = { "platform", "platformpluginpath", "platformtheme", "plugin",
    "qmljsdebugger", "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display", "geometry",
    "icon", "name", "title", "visual", "style", "stylesheet" };
const char *const kQtSwitches[] = { "reverse", "widgetcount", "sync", "nograb", "dograb" };

// The messages' language follows LC_ALL, LC_MESSAGES and LANG (and
// LANGUAGE unless the locale is C), as a terminal program's should.
bool chinese()
{
    return QLocale::system().language() == QLocale::Chinese;
}

QString helpText()
{
    if (chinese()) {
        return QStringLiteral("用法：vexa-sudoku [选项]...\n"
                              "启动 Vexa Sudoku 数独，简体中文界面的数独游戏。\n"
                              "\n"
                              "选项：\n"
                              "  -h, --help        显示本帮助后退出\n"
                              "  -v, --version     显示版本后退出\n"
                              "  -platform 平台    在 Qt 的这个显示平台上运行，不用 X11（xcb），\n"
                              "                    与环境变量 QT_QPA_PLATFORM 作用相同\n"
                              "\n"
                              "Qt 的其他标准选项（如 -display、-style）交给 Qt 处理。\n"
                              "游戏把文件存在哪里，见手册页 vexa-sudoku(6)。\n");
    }
    return QStringLiteral("Usage: vexa-sudoku [OPTION]...\n"
                          "Starts Vexa Sudoku, a Sudoku game with a Simplified Chinese interface.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help        show this help and exit\n"
                          "  -v, --version     show the version and exit\n"
                          "  -platform NAME    run on Qt's window system NAME instead of X11 (xcb),\n"
                          "                    as the environment variable QT_QPA_PLATFORM does\n"
                          "\n"
                          "Qt's other standard options, such as -display and -style, are left to Qt.\n"
                          "The manual page vexa-sudoku(6) tells where the game keeps its files.\n");
}

QString versionText()
{
    return chinese() ? QStringLiteral("Vexa Sudoku 数独 %1\n").arg(QStringLiteral(VEXA_VERSION))
                     : QStringLiteral("Vexa Sudoku %1\n").arg(QStringLiteral(VEXA_VERSION));
}

// What a mistake on the command line says: the mistake, then one line of
// usage.
QString usageError(const QString &what)
{
    if (chinese())
        return QStringLiteral("vexa-sudoku：%1\n用法：vexa-sudoku [-h | --help] [-v | --version]\n")
            .arg(what);
    return QStringLiteral("vexa-sudoku: %1\nUsage: vexa-sudoku [-h | --help] [-v | --version]\n").arg(what);
}

// The argument as the player typed it, dashes and all, for the option the
// parser names without them.
QString asTyped(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments.sliced(1)) {
        QString bare = argument;
        while (bare.startsWith(QLatin1Char('-')))
            bare.remove(0, 1);
        if (bare.section(QLatin1Char('='), 0, 0) == name)
            return argument;
    }
    return name;
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

std::optional<int> CommandLine::answer(int argc, const char *const *argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty())
        return std::nullopt;

    QCommandLineParser parser;
    // Qt's options are words after a single dash (-platform), so a single
    // dash never bundles letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    const QCommandLineOption version(QStringList { QStringLiteral("v"), QStringLiteral("version") });
    parser.addOption(help);
    parser.addOption(version);
    for (const char *name : kQtValueOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char *name : kQtSwitches)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        QString what;
        if (!unknown.isEmpty()) {
            const QString option = asTyped(arguments, unknown.first());
            what = chinese() ? QStringLiteral("未知选项“%1”").arg(option)
                             : QStringLiteral("unknown option '%1'").arg(option);
        } else if (chinese()) {
            // A value missing after one of Qt's options, or given to one
            // that takes none; Qt's text names the option between quotes.
            what
                = QStringLiteral("选项“%1”的值有误").arg(parser.errorText().section(QLatin1Char('\''), 1, 1));
        } else {
            what = parser.errorText();
        }
        print(stderr, usageError(what));
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        const QString argument = parser.positionalArguments().first();
        print(stderr,
            usageError(chinese() ? QStringLiteral("多余的参数“%1”").arg(argument)
                                 : QStringLiteral("unexpected argument '%1'").arg(argument)));
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, versionText());
        return 0;
    }
    return std::nullopt;
}
