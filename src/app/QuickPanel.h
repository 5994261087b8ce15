// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QQuickView>

#include <optional>

// The floating panel: a frameless, translucent, always-on-top tool window without a taskbar
// entry that takes keyboard input. Its 460 x 520 content sits inside a transparent margin that
// holds the panel's own shadow; the margin lets clicks through.
class QuickPanel : public QQuickView
{
    Q_OBJECT
public:
    // The content's size wherever the screen has room for it.
    static constexpr QSize kContentSize {460, 520};
    // Room for a shadow of blur 32 cast 16 downwards.
    static constexpr QMargins kShadowMargins {48, 36, 48, 68};

    explicit QuickPanel(QQmlEngine *engine);

    // The content's rectangle in screen coordinates.
    QRect contentGeometry() const;
    // The content's rectangle inside the window: the part that takes pointer input.
    QRect contentRect() const;
    // Moves the content there, resizing the window (and the scene's contentRect) when the
    // screen gives it another size; true when it did, so the input region must follow.
    bool setContentGeometry(const QRect &content);

signals:
    // Escape that nothing inside the panel used.
    void cancelRequested();
    // Dragged by its background, the panel is moved by the window manager now, which takes the
    // keyboard meanwhile.
    void moveStarted();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QSize m_contentSize = kContentSize;
    // Where a press that no item of the scene grabbed began: on the background, which moves
    // the panel.
    std::optional<QPointF> m_backgroundPress;
};
