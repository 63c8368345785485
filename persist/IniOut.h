#pragma once

#include "persist/ExtractField.h"
#include "persist/PropertyText.h"
#include "persist/RegRoots.h"

#include <QObject>
#include <QStringList>

namespace harmonet {

// Keeps chosen published properties of a window and its components in the
// settings store. A window owns one (object name IniOut1, the window as its
// parent), fills Items from its layout, calls Load while it is created and
// Save while it is destroyed.
//
// Each item is one line of seven fields separated by ";":
//   0 component: the window's own name (exact) means the window, any other
//     name an owned component (without regard to case);
//   1 property: a published property of it (without regard to case; see
//     persist/Reflection.h for how a class publishes one);
//   2 default text, applied by Load when nothing is stored;
//   3 key path under the root, e.g. Software\Harmonet\MainForm;
//   4 value name;
//   5 not consulted;
//   6 "1" makes the item load-only (Save skips it).
// Example: "frmMain;Top;-1;Software\Harmonet\MainForm;FormTop;1;0".
//
// Values are stored as strings in the text forms of persist/PropertyText.h.
// Nothing either pass meets (a missing component or property, a value that is
// not a string, a text that does not convert, a store that cannot be read or
// written) is reported or stops the pass: that one item is left as it was.
class TIniOut : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ items WRITE setItems)
    Q_PROPERTY(harmonet::registry::TRegRoots RegistryRoot READ registryRoot WRITE setRegistryRoot)

public:
    explicit TIniOut(QObject* owner);

    QStringList items() const { return m_items; }
    void setItems(const QStringList& items) { m_items = items; }
    TRegRoots registryRoot() const { return m_root; }
    void setRegistryRoot(TRegRoots root) { m_root = root; }

    // Puts each item's stored text, or its default text when the key or the
    // value is missing, into its property. Writes nothing.
    void Load();
    // Writes each saved item's property text under its key and value name,
    // creating the key when missing, in one atomic write of the store.
    void Save();

private:
    QStringList m_items;
    TRegRoots m_root = CURRENT_USER;
};

} // namespace harmonet
