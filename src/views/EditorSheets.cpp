// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/EditorSheets.h"

#include "hotkeys/RecorderField.h"
#include "model/DataController.h"
#include "views/BinzoEditor.h"
#include "views/EntryEditor.h"

#include <QQmlEngine>

void EditorSheets::registerQmlTypes()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    qmlRegisterSingletonType<EditorSheets>(
        "Binzo", 1, 0, "Editors",
        [](QQmlEngine *, QJSEngine *) -> QObject * { return new EditorSheets; });
    qmlRegisterUncreatableType<EntryEditor>("Binzo", 1, 0, "EntryEditor",
                                            QStringLiteral("made by Editors.entryEditor"));
    qmlRegisterType<Hotkeys::RecorderField>("Binzo", 1, 0, "RecorderField");
    qmlRegisterUncreatableType<BinzoEditor>("Binzo", 1, 0, "BinzoEditor",
                                            QStringLiteral("made by Editors.binzoEditor"));
}

EntryEditor *EditorSheets::entryEditor(Binzo *target, Entry *entry, QObject *owner)
{
    const auto mode = entry ? EntryEditor::Mode::edit(entry) : EntryEditor::Mode::create(target);
    return new EntryEditor(mode, DataController::shared(), &LocalDetector::detect, owner);
}

BinzoEditor *EditorSheets::binzoEditor(Binzo *editing, QObject *owner)
{
    return new BinzoEditor(editing, DataController::shared(), owner);
}
