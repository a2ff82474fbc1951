// Runs the fake hosting server until killed, so the program's settings can point at it:
//   fake_hosting [--port N] [--puzzle FILE]
// prints the base address (e.g. "http://127.0.0.1:8080") on its own line.
#include "fakehostingserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fake_hosting"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves the hosting scripts, message forms and files on 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Port to listen on (default: any free one)."),
                                        QStringLiteral("N"), QStringLiteral("0"));
    parser.addOption(portOption);
    const QCommandLineOption puzzleOption(QStringLiteral("puzzle"),
                                          QStringLiteral("A puzzle file served as the index page's sample."),
                                          QStringLiteral("FILE"));
    parser.addOption(puzzleOption);
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        std::fprintf(stderr, "fake_hosting: bad port \"%s\"\n", qPrintable(parser.value(portOption)));
        return 2;
    }
    TFakeHostingServer server{quint16(port)};
    if (!server.isListening()) {
        std::fprintf(stderr, "fake_hosting: cannot listen on port %u\n", port);
        return 1;
    }
    if (parser.isSet(puzzleOption)) {
        QFile puzzle(parser.value(puzzleOption));
        if (!puzzle.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "fake_hosting: cannot read \"%s\"\n", qPrintable(puzzle.fileName()));
            return 2;
        }
        server.addFile(QStringLiteral("/puzzles/sample.trv"), puzzle.readAll(), "text/plain");
    }
    std::printf("%s\n", qPrintable(server.baseUrl()));
    std::fflush(stdout);
    return app.exec();
}
