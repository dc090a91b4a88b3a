// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop part's entry: the window's program, loaded by the program when
// a window is needed.

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QMessageBox>

#include <fontconfig/fontconfig.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/booksession.h"
#include "book/dumpbook.h"
#include "desktop/window/appicon.h"
#include "desktop/window/desktopprogram.h"
#include "desktop/window/desktopwindow.h"
#include "desktop/window/sessionend.h"
#include "desktop/window/singleinstance.h"
#include "desktop/window/startfolders.h"
#include "desktop/zip/zipbookarchives.h"
#include "platform/desktopentry.h"
#include "program/commandline.h"
#include "ui/stringids.h"
#include "ui/stringtable.h"

namespace {

std::string absolutePath(const std::string& path)
{
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.string();
}

// While the application connects to the display: a display that cannot be
// reached ends the program with one line in the listener's language and
// status 1, instead of Qt's abort and its platform plugin's lines.
void startUpMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    using namespace korvin;
    if (type == QtFatalMsg) {
        const int language =
            environmentLanguageOffset(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
        std::cerr << "korvin: " << StringTable::builtIn().get(str::kNoDisplay, language) << std::endl;
        std::_Exit(1);
    }
    if (context.category && std::string_view(context.category).starts_with("qt.qpa"))
        return;
    std::cerr << qFormatLogMessage(type, context, message).toLocal8Bit().constData() << std::endl;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int korvin_desktop_main(int argc, char* argv[])
{
    using namespace korvin;

    const StringTable strings = StringTable::builtIn();
    const int language =
        environmentLanguageOffset(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    // The program dumps a book itself and hands only a zipped one over: only
    // this part reads zip files.
    const CommandLine early = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (early.understood() && early.dumpBook) {
        const ZipBookArchives archives(std::nullopt);
        return dumpBook(*early.dumpBook, std::cout, std::cerr, archives,
                        DumpFailureTexts{strings.get(str::kNccNotOpened, language), [&](BookLocator::Fault fault) {
                                             return strings.get(zipFaultMessage(fault), language);
                                         }});
    }

    // fontconfig reads its configuration and font caches when first used, by
    // the window's first text, a good part of the start. Meanwhile the
    // application connects to the display and the buses, mostly waiting for
    // answers: read on a thread of its own then, done before any font is
    // asked for.
    std::jthread fonts([] { FcInit(); });
    qInstallMessageHandler(startUpMessage);
    QApplication application(argc, argv);
    qInstallMessageHandler(nullptr);
    fonts.join();
    QApplication::setOrganizationName(QStringLiteral("Varnholt"));
    QApplication::setApplicationName(QStringLiteral("Korvin 2.0"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.1"));
    QApplication::setWindowIcon(applicationIcon());
    // libmpv reads numbers with the C library's conversions.
    std::setlocale(LC_NUMERIC, "C");
    // From here on an ending desktop (or a signal) is answered in the event
    // loop, with the exit procedure, never by dying on the spot.
    SessionEnd sessionEnd;

    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1))
        arguments.push_back(argument.toStdString());
    CommandLine commandLine = parseCommandLine(arguments);
    if (commandLine.help || commandLine.version) {
        std::cout << (commandLine.help ? usageText(strings, language) : versionText(strings, language));
        return 0;
    }
    if (!commandLine.understood()) {
        std::cerr << "korvin: " << mistakeText(commandLine, strings, language) << "\n\n"
                  << usageText(strings, language);
        return 2;
    }
    // Paths of the command line belong to the caller's current directory.
    if (commandLine.book)
        commandLine.book = absolutePath(*commandLine.book);

    const Folders folders = resolveFolders(commandLine.home, QApplication::applicationDirPath());
    if (!enterStateFolder(folders.state)) {
        std::cerr << "korvin: " << fillIn(strings.get(str::kStateFolderUnusable, language), {folders.state}) << '\n';
        return 1;
    }

    SingleInstance instance(instanceKey(folders.state));
    if (!instance.claim()) {
        // A book goes to the running window, which opens it and comes to the front.
        if (commandLine.book && instance.askRunningToOpen(*commandLine.book))
            return 0;
        QMessageBox::information(nullptr, QApplication::applicationName(), QStringLiteral("Korvin ist bereits aktiv."));
        instance.askRunningToShow();
        return 0;
    }

    DesktopProgram program(folders);
    program.answer(instance);
    QObject::connect(&program.window(), &DesktopWindow::ended, &application, &QApplication::quit, Qt::QueuedConnection);
    sessionEnd.setHandler([&program] { program.window().endSession(); });
    program.start();
    // The sound menu and the sleep inhibition need the buses' answers; the
    // window's announcement does not wait for them.
    program.whenActive(
        [&program] { program.joinSession(QDBusConnection::sessionBus(), QDBusConnection::systemBus()); });
    if (commandLine.book)
        program.openAtStart(*commandLine.book);
    return application.exec();
}
