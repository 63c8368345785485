#include "core/Color.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace harmonet {

namespace {

constexpr qint32 sys(int n) { return qint32(0x80000000u + unsigned(n)); }

constexpr std::array<ColorIdentifier, 49> kIdentifiers{{
    {"clBlack", 0x000000},   {"clMaroon", 0x000080},  {"clGreen", 0x008000},
    {"clOlive", 0x008080},   {"clNavy", 0x800000},    {"clPurple", 0x800080},
    {"clTeal", 0x808000},    {"clGray", 0x808080},    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},     {"clLime", 0x00FF00},    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},    {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},   {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},   {"clMedGray", 0xA4A0A0},
    {"clActiveBorder", sys(10)},          {"clActiveCaption", sys(2)},
    {"clAppWorkSpace", sys(12)},          {"clBackground", sys(1)},
    {"clBtnFace", sys(15)},               {"clBtnHighlight", sys(20)},
    {"clBtnShadow", sys(16)},             {"clBtnText", sys(18)},
    {"clCaptionText", sys(9)},            {"clDefault", 0x20000000},
    {"clGradientActiveCaption", sys(27)}, {"clGradientInactiveCaption", sys(28)},
    {"clGrayText", sys(17)},              {"clHighlight", sys(13)},
    {"clHighlightText", sys(14)},         {"clInactiveBorder", sys(11)},
    {"clInactiveCaption", sys(3)},        {"clInactiveCaptionText", sys(19)},
    {"clInfoBk", sys(24)},                {"clInfoText", sys(23)},
    {"clMenu", sys(4)},                   {"clMenuText", sys(7)},
    {"clNone", 0x1FFFFFFF},               {"clScrollBar", sys(0)},
    {"cl3DDkShadow", sys(21)},            {"cl3DLight", sys(22)},
    {"clWindow", sys(5)},                 {"clWindowFrame", sys(6)},
    {"clWindowText", sys(8)},
}};

// The palette colour that stands for system colour n on this desktop.
QColor systemColor(int n)
{
    const QPalette palette = QGuiApplication::palette();
    switch (n) {
    case 1: case 4: case 10: case 11: return palette.color(QPalette::Window);
    case 2: case 13: case 27: return palette.color(QPalette::Highlight);
    case 3: case 28: return palette.color(QPalette::Inactive, QPalette::Highlight);
    case 5: return palette.color(QPalette::Base);
    case 6: case 21: return palette.color(QPalette::Shadow);
    case 7: case 8: return palette.color(QPalette::WindowText);
    case 9: case 14: return palette.color(QPalette::HighlightedText);
    case 12: case 16: return palette.color(QPalette::Dark);
    case 17: return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: return palette.color(QPalette::ButtonText);
    case 19: return palette.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20: return palette.color(QPalette::Light);
    case 22: return palette.color(QPalette::Midlight);
    case 23: return palette.color(QPalette::ToolTipText);
    case 24: return palette.color(QPalette::ToolTipBase);
    default: return palette.color(QPalette::Button);
    }
}

} // namespace

std::span<const ColorIdentifier> colorIdentifiers() { return kIdentifiers; }

bool colorFromIdentifier(const QString& identifier, TColor& color)
{
    for (const ColorIdentifier& entry : kIdentifiers) {
        if (identifier.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            color.value = entry.value;
            return true;
        }
    }
    return false;
}

QString identifierOfColor(TColor color)
{
    for (const ColorIdentifier& entry : kIdentifiers) {
        if (entry.value == color.value) {
            return QLatin1String(entry.name);
        }
    }
    return {};
}

QColor toQColor(TColor color)
{
    const quint32 v = quint32(color.value);
    if (color == clNone) {
        return Qt::transparent;
    }
    if (color == clDefault) {
        return {};
    }
    if ((v & 0xFF000000u) == 0x80000000u) {
        return systemColor(int(v & 0xFFu));
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

TColor fromQColor(const QColor& color)
{
    return TColor{qint32(color.red() | (color.green() << 8) | (color.blue() << 16))};
}

} // namespace harmonet
