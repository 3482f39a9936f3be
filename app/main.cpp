#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>
#include <csignal>

#include "app/CEditorApp.h"
#include "app/SimulatorSession.h"
#include "edit/LiveSession.h"
#include "framework/UnixSignalNotifier.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ostrel Software"));
    QApplication::setApplicationName(QStringLiteral("OrviEdit Moving Map Editor"));
    // No display name: the desktop would append it to every window title.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orviedit.svg")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("OrviEdit: GPS data and map editor"));
    parser.addHelpOption();
    QCommandLineOption simulator(
        QStringLiteral("simulator"),
        QStringLiteral("Use a simulated receiver for this run, loaded with the sample data or "
                       "with the waypoints and track of FILE.orvd."),
        QStringLiteral("FILE.orvd"));
    parser.addOption(simulator);
    QCommandLineOption model(QStringLiteral("model"),
                             QStringLiteral("With --simulator: play this known unit (orvi "
                                            "simulate --list-models names them)."),
                             QStringLiteral("NAME"));
    parser.addOption(model);
    QCommandLineOption moving(QStringLiteral("moving"),
                              QStringLiteral("With --simulator: the receiver moves along its "
                                             "track and sends its position (GPS > "
                                             "Live-Position shows it)."));
    parser.addOption(moving);
    QCommandLineOption nmea(QStringLiteral("nmea"),
                            QStringLiteral("With --simulator --moving: the receiver sends NMEA "
                                           "sentences instead of its PVT packets."));
    parser.addOption(nmea);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Files to open."),
                                 QStringLiteral("[FILE...]"));
    // --simulator may stand without its file.
    QStringList arguments = QApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--simulator") &&
            (i + 1 == arguments.size() || !arguments[i + 1].endsWith(QStringLiteral(".orvd")))) {
            arguments[i] = QStringLiteral("--simulator=");
        }
    }
    parser.process(arguments);

    CEditorApp app;
    // A recording journals its fixes in the application's data folder.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    LiveSession::JournalPath() = (data + QStringLiteral("/Aufzeichnung.journal")).toStdString();
    std::unique_ptr<SimulatorSession> session;
    if (parser.isSet(simulator)) {
        using Motion = SimulatorSession::Motion;
        const Motion motion = !parser.isSet(moving) ? Motion::STILL
                              : parser.isSet(nmea)  ? Motion::NMEA
                                                    : Motion::PVT;
        session =
            SimulatorSession::Start(parser.value(simulator), 9600, parser.value(model), motion);
        if (!session) {
            return 1;
        }
    }
    UnixSignalNotifier endSignals({SIGTERM, SIGINT});
    QObject::connect(&endSignals, &UnixSignalNotifier::received, &app,
                     [&app] { app.EndOnRequest(); });
    // Start-up runs in the event loop, so that a request to end the program during it (a
    // signal while the port opens, say) takes effect as at any other time.
    QTimer::singleShot(0, &app, [&app, files = parser.positionalArguments()] {
        if (!app.InitInstance(files)) {
            QCoreApplication::exit(1);
        }
    });
    return application.exec();
}
