// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: answer --help, --version and the subcommands for scripts, hand links to a running
// Binzo before anything else, check for a display, then build the panel, the global shortcut,
// the tray item and (on first run) the welcome tour.
#include "app/CommandClient.h"
#include "app/CommandLine.h"
#include "app/DesktopNotifier.h"
#include "app/FailureNotices.h"
#include "app/LinkRouter.h"
#include "app/OnboardingWindowController.h"
#include "app/QuickPanelController.h"
#include "app/QuitRequest.h"
#include "app/SettingsWindowController.h"
#include "app/SingleInstance.h"
#include "app/SingleWindow.h"
#include "app/TimingTrace.h"
#include "app/TrayIcon.h"
#include "app/VaultCommands.h"
#include "app/WidgetRecorderServices.h"
#include "appearance/ThemeController.h"
#include "hotkeys/Hotkeys.h"
#include "model/EventLoopScheduler.h"
#include "model/Preferences.h"
#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"
#include "platform/x11/ClipboardHolder.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11HotkeyBackend.h"
#include "platform/x11/X11PanelPlatform.h"
#include "quick/SecretClipboard.h"
#include "smartfind/SemanticSearch.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTimer>

#include <cstdio>
#include <sys/stat.h>

namespace {

const QString kHasOnboardedKey = QStringLiteral("binzo.hasOnboarded");

// Started again without links (as a launcher does), Binzo opens the running one's panel.
int forwardToRunningInstance(int argc, char *argv[], const SingleInstance &instance,
                             QStringList links)
{
    QCoreApplication app(argc, argv);
    if (links.isEmpty())
        links.append(QStringLiteral("binzo://open"));
    QString error;
    if (!SingleInstance::forward(instance.socketPath(), links, &error)) {
        std::fprintf(stderr, "binzo: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

// Binzo's panel, hot key and tray all need X11 (XWayland under Wayland).
bool hasDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return true;
    return X11Connection::displayReachable();
}

// True for "Quit Anyway".
bool askToQuitAnyway(const QString &question)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Binzo"), question);
    QPushButton *quit = box.addButton(QStringLiteral("Quit Anyway"), QMessageBox::DestructiveRole);
    box.setDefaultButton(
        box.addButton(QStringLiteral("Keep Binzo Running"), QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == quit;
}

} // namespace

int main(int argc, char *argv[])
{
    TimingTrace::mark("start");
    // Every file Binzo makes is its user's alone, lock files and the like included.
    ::umask(077);
    if (argc > 1 && qstrcmp(argv[1], ClipboardHolder::kArgument) == 0)
        return ClipboardHolder::run(argc, argv);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine::Invocation invocation = CommandLine::parse(arguments);
    switch (invocation.kind) {
    case CommandLine::Invocation::Kind::Help:
    case CommandLine::Invocation::Kind::Version:
        std::fputs(qPrintable(invocation.text), stdout);
        return ExitCode::kDone;
    case CommandLine::Invocation::Kind::UsageError:
        std::fputs(qPrintable(invocation.text), stderr);
        return ExitCode::kUsage;
    case CommandLine::Invocation::Kind::Command: {
        QCoreApplication app(argc, argv);
        return CommandClient::run(
            invocation.request,
            [](const QString &value, bool isSecret) {
                return ClipboardHolder::start(value, isSecret,
                                              SecretClipboard::clearAfter(Preferences::shared()));
            },
            []() -> KeychainStore & { return KeychainStore::shared(); });
    }
    case CommandLine::Invocation::Kind::RunApp:
        break;
    }
    const QStringList links = invocation.links;
    SingleInstance instance(SingleInstance::defaultDirectory());
    QString error;
    // Without a safe folder Binzo still runs, only alone: nothing is handed over to it.
    QString instanceError;
    switch (instance.acquire(&instanceError)) {
    case SingleInstance::Role::Secondary:
        return forwardToRunningInstance(argc, argv, instance, links);
    case SingleInstance::Role::Failed:
    case SingleInstance::Role::Primary:
        break;
    }

    Hotkeys::prepareSession();
    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "binzo: no X11 display (DISPLAY=\"%s\"); Binzo needs X11 or "
                     "XWayland\n",
                     qgetenv("DISPLAY").constData());
        return 1;
    }

    // Without a GPU, OpenGL means llvmpipe: about three times the CPU per showing of the
    // software scene graph, which draws this small panel just as well. Either can be chosen
    // with QT_QUICK_BACKEND or QSG_RHI_BACKEND.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")
        && qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("binzo"));
    QApplication::setDesktopFileName(QStringLiteral("binzo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/binzo.svg")));
    QApplication::setQuitOnLastWindowClosed(false);

    Preferences &preferences = Preferences::shared();
    // The backend comes later; shortcuts are stored and registered once adopted, below.
    Hotkeys::Registry hotkeys(preferences);
    SettingsWindowController *settingsWindow = nullptr;
    auto showSettings = [&settingsWindow] {
        if (settingsWindow)
            settingsWindow->show();
    };

    // Before anything that may register the shortcut or read the preferences.
    DesktopNotifier notifier(QDBusConnection::sessionBus());
    FailureNotices notices(notifier, hotkeys, showSettings);
    notices.checkPreferences(preferences);
    if (!instanceError.isEmpty())
        notices.reportRuntimeFolder(instanceError);
    else if (!instance.listen(&error))
        std::fprintf(stderr, "binzo: links from other processes will not arrive: %s\n",
                     qPrintable(error));
    Theme::provide(&ThemeController::shared());
    QQmlEngine engine;
    SingleWindow::setEngine(&engine);

    // Before the hot-key backend: its keyboard hand-off must see keys after the hot keys do.
    X11PanelPlatform platform;
    DataController &store = DataController::shared();
    KeychainStore &secrets = store.secrets();
    SemanticSearch &semantic = SemanticSearch::shared();
    // After the engine, so that their windows close before it goes.
    OnboardingWindowController onboarding(preferences, hotkeys);
    SettingsWindowController settings({preferences, hotkeys, onboarding, store, secrets, semantic});
    settingsWindow = &settings;
    QuickPanelController controller(engine, store, semantic, preferences, platform);
    QPointer<QuickPanelController> panel(&controller);
    EventLoopScheduler quitTimers;
    QuitRequest quitRequest(store, quitTimers, askToQuitAnyway, [] { QCoreApplication::quit(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &controller, [&controller, &store] {
        controller.clipboard().clearSecret();
        store.finish();
    });
    // The tray menu's key equivalents, while the panel has the keyboard.
    controller.viewModel().onOpenSettings = [panel, &settings] {
        if (panel)
            panel->hide();
        settings.show();
    };
    controller.viewModel().onQuit = [&quitRequest] { quitRequest.start(); };

    // Commands from scripts work on the live store; a copy is the panel's own.
    VaultCommands commands(
        store,
        [&controller](Entry &entry, const QString &value) -> Result<void> {
            controller.viewModel().finishCopy(entry, value);
            return {};
        },
        VaultCommands::Owner::RunningApp);
    instance.setCommandHandler(
        [&commands](const QJsonObject &request, const SingleInstance::Answer &answer) {
            commands.run(CommandRequest::fromJson(request),
                         [answer](const CommandReply &reply) { answer(reply.toJson()); });
        });

    hotkeys.setBackend(Hotkeys::X11HotkeyBackend::create());
    hotkeys.setRecorderServices(Hotkeys::widgetRecorderServices());
    hotkeys.adopt(Hotkeys::Name::togglePanel());
    hotkeys.onKeyDown(Hotkeys::Name::togglePanel(), [panel] {
        if (panel)
            panel->toggle();
    });

    TrayIcon tray({
        [panel] {
            if (panel)
                panel->show();
        },
        [&settings] { settings.show(); },
        [&quitRequest] { quitRequest.start(); },
        [panel] {
            // The click that takes focus from an open panel has hidden it already.
            if (!panel || panel->justHidByOutsideActivity())
                return;
            if (panel->isPanelVisible())
                panel->hide();
            else
                panel->show();
        },
    });
    notifier.setFallback([&tray](const DesktopNotifier::Notice &notice) {
        tray.showMessage(notice.summary, notice.body, notice.action);
    });
    if (!tray.isAvailable())
        std::fprintf(stderr,
                     "binzo: no system tray yet; the shortcut and binzo://open open "
                     "the panel\n");

    onboarding.setShowPanel([panel] {
        if (panel)
            panel->show();
    });
    if (!preferences.boolean(kHasOnboardedKey))
        onboarding.show();

    auto openLinks = [panel](const QStringList &received) {
        for (int i = LinkRouter::panelShowCount(received); i > 0 && panel; --i)
            panel->show();
    };
    QObject::connect(&instance, &SingleInstance::linksReceived, &controller, openLinks);
    QTimer::singleShot(0, &controller, [openLinks, links] {
        TimingTrace::mark("ready-to-use");
        openLinks(links);
    });
    return app.exec();
}
