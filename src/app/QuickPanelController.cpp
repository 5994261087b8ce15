// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QuickPanelController.h"

#include "app/Logging.h"
#include "app/PanelPlacement.h"
#include "app/PanelPlatform.h"
#include "app/Spring.h"
#include "app/TimingTrace.h"
#include "model/store/DataController.h"

#include <QCursor>
#include <QEasingCurve>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QScreen>
#include <QSystemTrayIcon>

#include <cmath>

namespace {

constexpr qreal kStartScale = 0.96;
constexpr int kFadeInMs = 220;
constexpr int kFadeOutMs = 140;
// A click on the tray icon first takes focus from the panel; the click itself arrives after.
constexpr int kOutsideHideDebounceMs = 400;
constexpr int kFocusLossMs = 80;

const Spring kSpring {14, 180, 1};

// Steps of 1/4096 of the travel: once the spring's motion is below what a pixel shows the
// value stops changing, and the scene stops being redrawn.
qreal springEasing(qreal progress)
{
    static const double duration = kSpring.settlingDuration();
    const double value = kSpring.position(progress * duration);
    return progress >= 1 ? 1 : std::round(value * 4096) / 4096;
}

QEasingCurve fadeInCurve()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.2, 0.9), QPointF(0.3, 1.0), QPointF(1, 1));
    return curve;
}

} // namespace

QuickPanelController::QuickPanelController(QQmlEngine &engine, DataController &store,
                                           SemanticSearch &semantic, Preferences &preferences,
                                           PanelPlatform &platform, QObject *parent)
    : QObject(parent)
    , m_panel(std::make_unique<QuickPanel>(&engine))
    , m_secretClipboard(m_clipboard, m_timers,
                        [&preferences] { return SecretClipboard::clearAfter(preferences); })
    , m_viewModel(store, semantic, m_secretClipboard, m_timers)
    , m_platform(platform)
{
    m_platform.preparePanelWindow(m_panel.get(), m_panel->contentRect());
    QPointer<QuickPanelController> self(this);
    m_viewModel.onDismiss = [self] {
        if (self)
            self->hide();
    };
    m_panel->setInitialProperties(
        {{QStringLiteral("viewModel"), QVariant::fromValue<QObject *>(&m_viewModel)},
         {QStringLiteral("contentRect"), QRectF(m_panel->contentRect())}});
    m_panel->setSource(
        QUrl(QStringLiteral("qrc:/qt-project.org/imports/Binzo/App/qml/QuickPanelRoot.qml")));
    if (m_panel->status() == QQuickView::Error) {
        for (const QQmlError &error : m_panel->errors())
            qCWarning(lcApp, "%s", qPrintable(error.toString()));
    }

    m_fadeIn.setTargetObject(content());
    m_fadeIn.setPropertyName("opacity");
    m_fadeIn.setDuration(kFadeInMs);
    m_fadeIn.setEasingCurve(fadeInCurve());
    m_fadeIn.setEndValue(1.0);

    QEasingCurve spring;
    spring.setCustomType(springEasing);
    m_springIn.setTargetObject(content());
    m_springIn.setPropertyName("scale");
    m_springIn.setDuration(int(std::lround(kSpring.settlingDuration() * 1000)));
    m_springIn.setEasingCurve(spring);
    m_springIn.setStartValue(kStartScale);
    m_springIn.setEndValue(1.0);

    m_fadeOut.setTargetObject(content());
    m_fadeOut.setPropertyName("opacity");
    m_fadeOut.setDuration(kFadeOutMs);
    m_fadeOut.setEndValue(0.0);
    connect(&m_fadeOut, &QPropertyAnimation::finished, this, [this] {
        m_panel->hide();
        m_visible = false;
        TimingTrace::mark("hidden");
    });

    connect(m_panel.get(), &QuickPanel::cancelRequested, this, &QuickPanelController::hide);
    // Grabs and window-manager hand-overs flip focus away and back within a few
    // milliseconds; only a loss that lasts means the user went elsewhere.
    m_focusLoss.setSingleShot(true);
    m_focusLoss.setInterval(kFocusLossMs);
    connect(&m_focusLoss, &QTimer::timeout, this, [this] {
        if (m_visible && !m_panel->isActive() && m_fadeOut.state() != QAbstractAnimation::Running
            && !m_platform.isKeyboardHandoffActive() && !m_moving)
            hideForOutsideActivity();
    });
    connect(m_panel.get(), &QuickPanel::moveStarted, this, [this] { m_moving = true; });
    connect(m_panel.get(), &QWindow::activeChanged, this, [this] {
        if (m_panel->isActive()) {
            m_moving = false;
            m_focusLoss.stop();
            TimingTrace::mark("active");
        } else if (m_visible) {
            m_focusLoss.start();
        }
    });
    connect(m_panel.get(), &QQuickWindow::frameSwapped, this, [this] {
        if (m_tracingFrame) {
            m_tracingFrame = false;
            TimingTrace::mark("frame");
        }
    });
    connect(this, &QuickPanelController::binzoPanelDidShow, this, [this] {
        m_viewModel.resetForShow();
        if (QQuickItem *root = m_panel->rootObject())
            QMetaObject::invokeMethod(root, "focusSearch");
    });
    warmUp();
}

QuickPanelController::~QuickPanelController()
{
    // The scene binds to the view model: it goes first.
    m_panel.reset();
}

void QuickPanelController::warmUp()
{
    // One off-screen rendering builds what the first showing would otherwise build while the
    // user waits and types: list delegates, glyphs, symbol images and shadow images.
    QQuickItem *item = content();
    if (!item)
        return;
    item->setOpacity(1);
    m_panel->grabWindow();
    item->setOpacity(0);
}

QQuickItem *QuickPanelController::content() const
{
    QQuickItem *root = m_panel->rootObject();
    return root ? root->findChild<QQuickItem *>(QStringLiteral("panelContent")) : nullptr;
}

void QuickPanelController::place()
{
    QList<ScreenArea> screens;
    int primary = -1;
    const QList<QScreen *> all = QGuiApplication::screens();
    for (QScreen *screen : all) {
        if (screen == QGuiApplication::primaryScreen())
            primary = int(screens.size());
        screens.append({screen->geometry(), screen->availableGeometry()});
    }
    const auto frame = panelFrame(screens, primary, QCursor::pos(), QuickPanel::kContentSize);
    if (frame && m_panel->setContentGeometry(*frame))
        m_platform.setInputRegion(m_panel.get(), m_panel->contentRect());
}

void QuickPanelController::show()
{
    TimingTrace::mark("show");
    // First of all: from here on no typed key can go to the application left behind.
    m_platform.beginKeyboardHandoff(m_panel.get());
    m_fadeOut.stop();
    place();
    if (QQuickItem *item = content()) {
        item->setOpacity(0);
        item->setScale(kStartScale);
    }
    m_tracingFrame = TimingTrace::enabled();
    m_panel->show();
    m_panel->raise();
    m_panel->requestActivate();
    m_visible = true;

    m_fadeIn.stop();
    m_fadeIn.setStartValue(0.0);
    m_fadeIn.start();
    m_springIn.stop();
    m_springIn.start();

    QPointer<QuickPanelController> self(this);
    m_platform.watchPresses([self] {
        if (self)
            self->onOutsideClick();
    });
    // The scene gives its items active focus only once the window has had focus; before the
    // window manager hands it over, keys forwarded by the hand-off must already find the field.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(m_panel.get(), &focusIn);
    emit binzoPanelDidShow();
    TimingTrace::mark("ready");
}

void QuickPanelController::hide()
{
    TimingTrace::mark("hide");
    m_viewModel.panelHidden();
    m_moving = false;
    m_platform.stopWatchingPresses();
    m_platform.endKeyboardHandoff();
    m_fadeIn.stop();
    m_springIn.stop();
    if (!m_visible)
        return;
    if (m_fadeOut.state() == QAbstractAnimation::Running)
        return;
    QQuickItem *item = content();
    m_fadeOut.setStartValue(item ? item->opacity() : 1.0);
    m_fadeOut.start();
}

void QuickPanelController::toggle()
{
    TimingTrace::mark("hotkey");
    // The panel counts as visible until its fade-out ends: a toggle then still hides.
    if (m_visible)
        hide();
    else
        show();
}

bool QuickPanelController::justHidByOutsideActivity() const
{
    return m_sinceOutsideHide.isValid() && m_sinceOutsideHide.elapsed() < kOutsideHideDebounceMs;
}

void QuickPanelController::hideForOutsideActivity()
{
    m_sinceOutsideHide.start();
    hide();
}

void QuickPanelController::onOutsideClick()
{
    // Raw presses arrive for every client, ours too: clicks inside the panel, on one of our
    // other windows or on our tray icon are not outside.
    const QPoint pointer = QCursor::pos();
    if (m_panel->contentGeometry().contains(pointer))
        return;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        if (window != m_panel.get() && window->isVisible()
            && window->frameGeometry().contains(pointer))
            return;
    }
    hideForOutsideActivity();
}
