#include "player/ControlTags.h"

#include <QObject>
#include <QVariant>

namespace harmonet {

namespace {
constexpr char TagName[] = "Tag";
}

void setTag(QObject* object, int tag)
{
    object->setProperty(TagName, tag);
}

std::optional<int> tagOf(const QObject* object)
{
    const QVariant value = object->property(TagName);
    if (!value.isValid()) {
        return std::nullopt;
    }
    return value.toInt();
}

} // namespace harmonet
