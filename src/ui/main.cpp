// The window program: reads the switches, starts the main window (which runs the
// start-up) and the message loop.
#include "app/command_line.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QIcon>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    try {
        QStringList arguments;
        for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
        const q::CommandLine commandLine = q::parseCommandLine(arguments);
        // Answered before any window or display is needed.
        if (commandLine.version) {
            std::printf("quintara %s (Quintara, Fensterprogramm)\n", QUINTARA_VERSION_TEXT);
            return 0;
        }
        if (commandLine.help) {
            std::fputs(q::commandLineHelp().toLocal8Bit().constData(), stdout);
            return 0;
        }
        // A job started from a scheduler has no display; it runs without one.
        if (commandLine.delayedStart && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");

        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Quintara"));
        QApplication::setApplicationDisplayName(QStringLiteral("Quintara"));
        QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quintara")));
        // The standard dialogs (files, input) speak German like the rest of the program.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QTranslator qtTexts;
        if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(&qtTexts);

        q::StartOptions options;
        options.programDir = QCoreApplication::applicationDirPath();
        options.homeDir = commandLine.homeDir;
        options.settingsPath = commandLine.settingsPath;
        q::ui::TAktienkurse window(options, commandLine);
        if (window.session().quitRequested) return 1;
        window.show();
        const int rc = app.exec();
        return rc != 0 ? rc : window.exitStatus();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Interner Fehler: %s\n", e.what());
        return 70;
    }
}
