// SPDX-License-Identifier: GPL-3.0-or-later
// The sheets' keyboard contract with the panel: Return saves through the form, Escape closes
// the sheet and never reaches the panel behind it.
#include "FakeSecretBackend.h"
#include "QmlSceneFixture.h"
#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"
#include "quick/LocalDetector.h"
#include "views/BinzoEditor.h"
#include "views/EntryEditor.h"

#include <QQmlContext>

namespace {

// Stands in for the quick-access view model: the sheet's inputs and callbacks.
class SheetHost : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Binzo *addTargetBinzo MEMBER target CONSTANT)
    Q_PROPERTY(Entry *editingEntry MEMBER entry CONSTANT)
    Q_PROPERTY(Binzo *editingBinzo MEMBER editing CONSTANT)
public:
    Binzo *target = nullptr;
    Entry *entry = nullptr;
    Binzo *editing = nullptr;
    QList<Binzo *> entryDone;
    int entryCancelled = 0;
    int binzoDone = 0;
    int binzoCancelled = 0;

    Q_INVOKABLE EntryEditor *entryEditor(Binzo *target, Entry *entry, QObject *owner)
    {
        const auto mode
            = entry ? EntryEditor::Mode::edit(entry) : EntryEditor::Mode::create(target);
        return new EntryEditor(mode, DataController::shared(), &LocalDetector::detect, owner);
    }
    Q_INVOKABLE BinzoEditor *binzoEditor(Binzo *editing, QObject *owner)
    {
        return new BinzoEditor(editing, DataController::shared(), owner);
    }
    Q_INVOKABLE void entryEditorDone(Binzo *binzo) { entryDone << binzo; }
    Q_INVOKABLE void entryEditorCancelled() { ++entryCancelled; }
    Q_INVOKABLE void binzoEditorDone() { ++binzoDone; }
    Q_INVOKABLE void binzoEditorCancelled() { ++binzoCancelled; }
};

const char kPanel[] = R"(
import QtQuick
Item {
    id: panel
    property var keysReachingPanel: []
    property alias sheet: loader.item
    width: 480; height: 520
    focus: true
    Keys.onPressed: event => keysReachingPanel.push(event.key)
    Loader {
        id: loader
        anchors.fill: parent
        focus: true
        Component.onCompleted: setSource(sheetUrl, { viewModel: host })
    }
}
)";

class EditorSheetsTest : public QmlSceneFixture
{
protected:
    void SetUp() override
    {
        KeychainStore::setSharedBackend(std::make_unique<FakeSecretBackend>(&m_secrets));
        m_host.target = DataController::shared().binzo(QStringLiteral("Personal"));
    }

    QQuickItem *open(const QString &sheet)
    {
        s_engine->rootContext()->setContextProperty("host", &m_host);
        s_engine->rootContext()->setContextProperty(
            "sheetUrl", "qrc:/qt-project.org/imports/Binzo/Views/qml/" + sheet + ".qml");
        return show(kPanel, QSize(480, 520));
    }
    void type(const QString &text)
    {
        for (const QChar c : text)
            QTest::keyClick(&m_window, c.toLatin1());
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&m_window, key, modifiers);
    }
    QVariantList keysReachingPanel() const
    {
        return m_scene->property("keysReachingPanel").toList();
    }

    FakeSecretBackend::State m_secrets;
    SheetHost m_host;
};

TEST_F(EditorSheetsTest, EscapeClosesTheSheetNotThePanel)
{
    for (const QString sheet : {"EntryEditorSheet", "BinzoEditorSheet"}) {
        open(sheet);
        type("Half typed");
        press(Qt::Key_Escape);
        EXPECT_TRUE(keysReachingPanel().isEmpty()) << qPrintable(sheet);
    }
    EXPECT_EQ(m_host.entryCancelled, 1);
    EXPECT_EQ(m_host.binzoCancelled, 1);
    EXPECT_TRUE(m_host.entryDone.isEmpty());
}

TEST_F(EditorSheetsTest, SymbolAndColourAreChosenFromTheKeyboard)
{
    open("BinzoEditorSheet");
    type("Work");
    press(Qt::Key_Tab); // the symbol grid
    press(Qt::Key_Down);
    press(Qt::Key_Right);
    press(Qt::Key_Space);
    press(Qt::Key_Tab); // the swatches
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    press(Qt::Key_Space);
    press(Qt::Key_Return);
    ASSERT_EQ(m_host.binzoDone, 1);
    const Binzo *created = DataController::shared().binzos().last();
    EXPECT_EQ(created->sfSymbol(), "doc.text.fill"); // second row, second cell
    EXPECT_EQ(created->colorHex(), "F46BC0"); // third swatch
}

} // namespace

#include "EditorSheetsTest.moc"
