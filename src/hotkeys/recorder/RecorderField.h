// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/Hotkeys.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace Hotkeys {

// The controller behind a shortcut recorder: a search-field-like box showing the shortcut of
// one name, recording the next combination while it has focus. It vets the combination
// (modifier rule, clash with our menu items, combinations another program holds or the
// desktop lists) and stores it; while it records, our own hot keys stay silent.
//
// Binding it in QML (register it in binzo_ui, e.g. as "RecorderFieldController"):
//   - show `text`, or `placeholder` when the text is empty; show a clear button exactly when
//     `clearButtonVisible`, calling clear() when pressed;
//   - focus gained -> startRecording(); focus lost -> endRecording(); hide the caret while
//     `isRecording`;
//   - take focus by keyboard only while `canBecomeKey`; call windowActivated() when the
//     window becomes active (the field must not start recording just because its window
//     opened) and windowDeactivated() when it stops being active;
//   - while recording, accept ShortcutOverride events (so window shortcuts do not fire) and
//     pass every key press as handleKeyEvent(event.key, event.modifiers,
//     event.nativeScanCode); set event.accepted to its answer (false: let it through, as for
//     Tab, which should move the focus on);
//   - while recording, pass every mouse release in the window as
//     handlePointerRelease(x, y, width, height) in the field's coordinates; false: let the
//     click through;
//   - blurRequested(): drop the field's focus; focusRequested(): focus the field again.
// Everything else (beep, alerts, our menu items) comes from the registry's recorder services.
class RecorderField : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    // The registry the name's shortcut is stored in; without one the field shows nothing and
    // does not record.
    Q_PROPERTY(Hotkeys::Registry *registry READ registry WRITE setRegistry NOTIFY registryChanged)
    Q_PROPERTY(
        QString shortcutName READ shortcutName WRITE setShortcutName NOTIFY shortcutNameChanged)
    Q_PROPERTY(QString text READ text NOTIFY textChanged)
    Q_PROPERTY(QString placeholder READ placeholder NOTIFY placeholderChanged)
    Q_PROPERTY(bool isRecording READ isRecording NOTIFY recordingChanged)
    Q_PROPERTY(bool clearButtonVisible READ clearButtonVisible NOTIFY textChanged)
    Q_PROPERTY(bool canBecomeKey READ canBecomeKey NOTIFY canBecomeKeyChanged)

public:
    // For the application's one name, togglePanel.
    explicit RecorderField(QObject *parent = nullptr);
    explicit RecorderField(Name name, QObject *parent = nullptr);
    // A recorder that goes away while recording resumes dispatch.
    ~RecorderField() override;

    Registry *registry() const { return m_registry; }
    void setRegistry(Registry *registry);
    QString shortcutName() const { return m_name.rawValue(); }
    void setShortcutName(const QString &rawValue);
    const Name &name() const { return m_name; }
    QString text() const { return m_text; }
    QString placeholder() const { return m_placeholder; }
    bool isRecording() const { return m_isRecording; }
    bool clearButtonVisible() const { return !m_text.isEmpty(); }
    bool canBecomeKey() const { return m_canBecomeKey; }

    Q_INVOKABLE void startRecording();
    Q_INVOKABLE void endRecording();
    // True when the key press is used up by the recorder.
    Q_INVOKABLE bool handleKeyEvent(int key, int modifiers, quint32 nativeScanCode);
    // True when the click fell on the field (within 3 pixels) and is used up; a click
    // elsewhere ends recording and goes on to its target.
    Q_INVOKABLE bool handlePointerRelease(qreal x, qreal y, qreal width, qreal height);
    // The clear button: stores no shortcut for the name and keeps recording.
    Q_INVOKABLE void clear();
    Q_INVOKABLE void windowActivated();
    Q_INVOKABLE void windowDeactivated();

signals:
    void registryChanged();
    void shortcutNameChanged();
    void textChanged();
    void placeholderChanged();
    void recordingChanged();
    void canBecomeKeyChanged();
    void blurRequested();
    void focusRequested();
    // After the user stored or cleared a shortcut here; registry()->shortcut(name()) has it.
    void userChangedShortcut();

private:
    enum class Verdict { accept, refuse };

    const RecorderServices &services() const;
    void showStoredShortcut();
    void setText(const QString &text);
    void setPlaceholder(const QString &placeholder);
    void setCanBecomeKey(bool canBecomeKey);
    void blur();
    void focus();
    Verdict checkMenuClash(const Shortcut &shortcut);
    Verdict checkSystemClash(const Shortcut &shortcut);

    QPointer<Registry> m_registry;
    Name m_name;
    QString m_text;
    QString m_placeholder;
    bool m_isRecording = false;
    bool m_canBecomeKey = false;
};

} // namespace Hotkeys
