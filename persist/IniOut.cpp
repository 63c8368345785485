#include "persist/IniOut.h"

#include "persist/SettingsStore.h"

namespace harmonet {

namespace {

const QChar kItemSeparator = QLatin1Char(';');

// One persistence item, its fields taken from an item line.
struct Item {
    QString component;
    QString property;
    QString defaultText;
    QString key;
    QString valueName;
    bool loadOnly = false;

    explicit Item(const QString& line)
        : component(ExtractField(line, 0, kItemSeparator)),
          property(ExtractField(line, 1, kItemSeparator)),
          defaultText(ExtractField(line, 2, kItemSeparator)),
          key(ExtractField(line, 3, kItemSeparator)),
          valueName(ExtractField(line, 4, kItemSeparator)),
          loadOnly(ExtractField(line, 6, kItemSeparator) == QLatin1String("1"))
    {
    }

    bool blank() const
    {
        return component.isEmpty() && property.isEmpty() && key.isEmpty() && valueName.isEmpty();
    }
};

// The item's object and property, or a null object when the window has no
// such component or the component no such published property.
struct Target {
    PublishedObject object{nullptr};
    PublishedProperty property;
};

Target findTarget(QObject* window, const Item& item)
{
    QObject* component = item.component == window->objectName()
        ? window
        : findOwnedComponent(window, item.component);
    if (component == nullptr)
        return {};
    PublishedObject object(component);
    std::optional<PublishedProperty> property = object.property(item.property);
    if (!property)
        return {};
    return {object, *property};
}

void loadItem(TSettingsStore& store, QObject* window, const Item& item)
{
    const Target target = findTarget(window, item);
    if (target.object.isNull())
        return;
    store.closeKey();
    const bool stored = store.openKey(item.key, false) && store.valueExists(item.valueName);
    const QString text = stored ? store.readString(item.valueName) : item.defaultText;
    TextToProperty(window, target.object, target.property, text);
}

void saveItem(TSettingsStore& store, QObject* window, const Item& item)
{
    const Target target = findTarget(window, item);
    if (target.object.isNull())
        return;
    store.closeKey();
    if (!store.openKey(item.key, true))
        return;
    if (const std::optional<QString> text = PropertyToText(target.object, target.property))
        store.writeString(item.valueName, *text);
}

} // namespace

TIniOut::TIniOut(QObject* owner) : QObject(owner)
{
    setObjectName(QStringLiteral("IniOut1"));
}

namespace {

// One pass over the items with one store connection: each item is handled on
// its own, and no failure, of one item or of the store, leaves the pass.
template <typename HandleItem>
void runPass(QObject* window, TRegRoots root, const QStringList& items, bool saving, HandleItem handle)
{
    if (window == nullptr)
        return;
    try {
        TSettingsStore store(root);
        for (const QString& line : items) {
            const Item item(line);
            if (item.blank() || (saving && item.loadOnly))
                continue;
            try {
                handle(store, window, item);
            } catch (...) {
                // That property keeps its value, or that item is not written;
                // the next item follows.
            }
        }
        if (saving)
            store.flush();
    } catch (...) {
        // Settings never stop the window that keeps them.
    }
}

} // namespace

void TIniOut::Load()
{
    runPass(parent(), m_root, m_items, false, loadItem);
}

void TIniOut::Save()
{
    runPass(parent(), m_root, m_items, true, saveItem);
}

} // namespace harmonet
