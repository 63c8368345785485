#pragma once

#include "core/Color.h"
#include "persist/Font.h"

#include <QObject>
#include <QString>

namespace harmonet::fuzz {

// Stands in for a window or one of its components: it publishes every
// property the windows' settings items name, under the same name and of the
// same type as the windows do, so that TIniOut reads and writes the settings
// as for the windows themselves, without a widget.
class TSettingsStandIn : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Top MEMBER m_top)
    Q_PROPERTY(int Left MEMBER m_left)
    Q_PROPERTY(int Height MEMBER m_height)
    Q_PROPERTY(int Width MEMBER m_width)
    Q_PROPERTY(harmonet::TFont Font MEMBER m_font)
    Q_PROPERTY(harmonet::TColor Color MEMBER m_color)
    Q_PROPERTY(QString Caption MEMBER m_caption)
    Q_PROPERTY(bool Checked MEMBER m_checked)
    Q_PROPERTY(bool Down MEMBER m_down)
    Q_PROPERTY(QString InitialDir MEMBER m_initialDir)
    Q_PROPERTY(bool FollowTempoChanges MEMBER m_followTempoChanges)
    Q_PROPERTY(int Zoom MEMBER m_zoom)
    Q_PROPERTY(bool ShowOthers MEMBER m_showOthers)
    Q_PROPERTY(int LyricStripFontSize MEMBER m_lyricStripFontSize)

public:
    TSettingsStandIn(const QString& name, QObject* owner) : QObject(owner) { setObjectName(name); }

private:
    int m_top = 0;
    int m_left = 0;
    int m_height = 0;
    int m_width = 0;
    TFont m_font;
    TColor m_color;
    QString m_caption;
    bool m_checked = false;
    bool m_down = false;
    QString m_initialDir;
    bool m_followTempoChanges = false;
    int m_zoom = 0;
    bool m_showOthers = false;
    int m_lyricStripFontSize = 0;
};

} // namespace harmonet::fuzz
