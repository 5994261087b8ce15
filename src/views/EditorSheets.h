// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class Binzo;
class BinzoEditor;
class Entry;
class EntryEditor;

// Makes the form models the editor sheets bind to; QML reaches it as the singleton Editors
// of the module Binzo 1.0. Each form belongs to the sheet that asked for it.
class EditorSheets : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Editors, EntryEditor, BinzoEditor and RecorderField; part of registerQmlTypes.
    static void registerQmlTypes();

    // Edits the entry when given one, otherwise creates an entry in the target binzo.
    Q_INVOKABLE EntryEditor *entryEditor(Binzo *target, Entry *entry, QObject *owner);
    // Edits the binzo when given one, otherwise creates a binzo.
    Q_INVOKABLE BinzoEditor *binzoEditor(Binzo *editing, QObject *owner);
};
