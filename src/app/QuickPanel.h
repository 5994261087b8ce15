// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QQuickView>

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
    // Moves the content there, resizing the window (and the scene's contentRect) when the
    // screen gives it another size.
    void setContentGeometry(const QRect &content);

signals:
    // Escape that nothing inside the panel used.
    void cancelRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QSize m_contentSize = kContentSize;
};
