#include "widgets/AccessibleButton.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QWidget>

namespace harmonet {

namespace {

QHash<QByteArray, AccessibleButtonBehaviour>& behaviours()
{
    static QHash<QByteArray, AccessibleButtonBehaviour> all;
    return all;
}

class AccessibleButton : public QAccessibleWidget {
public:
    AccessibleButton(QWidget* widget, const AccessibleButtonBehaviour& behaviour)
        : QAccessibleWidget(widget, QAccessible::Button), m_behaviour(behaviour)
    {
    }

    QAccessible::Role role() const override
    {
        return isButton() ? QAccessible::Button : QAccessible::StaticText;
    }

    QString text(QAccessible::Text type) const override
    {
        QString text = QAccessibleWidget::text(type);
        if (type == QAccessible::Name && text.isEmpty()) {
            text = m_behaviour.caption(*widget());
        }
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = isButton() && m_behaviour.isToggle(*widget());
        state.checked = state.checkable && m_behaviour.isChecked(*widget());
        return state;
    }

    QStringList actionNames() const override
    {
        return isButton() && widget()->isEnabled() ? QStringList{pressAction()} : QStringList();
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction() && isButton() && widget()->isEnabled()) {
            m_behaviour.press(*widget());
        }
    }

private:
    bool isButton() const { return m_behaviour.isButton(*widget()); }

    const AccessibleButtonBehaviour& m_behaviour;
};

QAccessibleInterface* makeAccessibleButton(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    const auto found = behaviours().constFind(className.toLatin1());
    if (!widget || found == behaviours().constEnd()) {
        return nullptr;
    }
    return new AccessibleButton(widget, *found);
}

} // namespace

void registerAccessibleButton(const QByteArray& className, AccessibleButtonBehaviour behaviour)
{
    if (behaviours().isEmpty()) {
        QAccessible::installFactory(&makeAccessibleButton);
    }
    if (!behaviours().contains(className)) {
        behaviours().insert(className, std::move(behaviour));
    }
}

} // namespace harmonet
