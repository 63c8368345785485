#pragma once

#include "core/Color.h"
#include "persist/Cursor.h"
#include "persist/Font.h"
#include "persist/Method.h"

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <QWidget>

// Small components carrying every property kind the program keeps, and a
// window owning them, declared the way the program's own classes publish
// their properties.
namespace harmonet::test {

// A window with its place and size, and two handlers.
class TTestWindow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Top MEMBER m_top)
    Q_PROPERTY(int Left MEMBER m_left)
    Q_PROPERTY(int Height MEMBER m_height)
    Q_PROPERTY(int Width MEMBER m_width)

public:
    using QWidget::QWidget;

    int m_top = 10;
    int m_left = 20;
    int m_height = 300;
    int m_width = 200;
    int clicks = 0;

public slots:
    void btnPlayClick() { ++clicks; }
};

// An open dialog component: its folder.
class TTestOpenDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString InitialDir MEMBER m_initialDir)

public:
    using QObject::QObject;
    QString m_initialDir = QStringLiteral("/layout");
};

// A tool button, a check box: one Boolean each.
class TTestToolButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Down MEMBER m_down)

public:
    using QWidget::QWidget;
    bool m_down = false;
};

class TTestCheckBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Checked MEMBER m_checked)

public:
    using QWidget::QWidget;
    bool m_checked = false;
};

// A colour picker.
class TTestColorBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(harmonet::TColor Color MEMBER m_color)

public:
    using QWidget::QWidget;
    TColor m_color = clWhite;
};

// A panel: caption, font (over QWidget's own "font"), cursor.
class TTestPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER m_caption)
    Q_PROPERTY(harmonet::TFont Font MEMBER m_font)
    Q_PROPERTY(harmonet::TCursor Cursor MEMBER m_cursor)

public:
    using QWidget::QWidget;
    QString m_caption = QStringLiteral("Layout caption");
    TFont m_font;
    TCursor m_cursor;
};

// The remaining kinds: enumeration, set, floating point, character, other
// integers, string list, component reference, method, a plain QFont and a
// property without a text form.
class TTestKinds : public QObject {
    Q_OBJECT
    Q_PROPERTY(TLayout Layout MEMBER m_layout)
    Q_PROPERTY(TAnchors Anchors READ anchors WRITE setAnchors)
    Q_PROPERTY(double Ratio MEMBER m_ratio)
    Q_PROPERTY(QChar Accelerator MEMBER m_accelerator)
    Q_PROPERTY(qint16 Small MEMBER m_small)
    Q_PROPERTY(qint64 Big MEMBER m_big)
    Q_PROPERTY(quint32 Unsigned MEMBER m_unsigned)
    Q_PROPERTY(QStringList Lines MEMBER m_lines)
    Q_PROPERTY(QObject* Partner MEMBER m_partner)
    Q_PROPERTY(harmonet::TMethod OnClick MEMBER m_onClick)
    Q_PROPERTY(QFont PlainFont MEMBER m_plainFont)
    Q_PROPERTY(QPoint Spot MEMBER m_spot)

public:
    enum TLayout : int { lyNone, lyTop, lyBottom, lyClient };
    Q_ENUM(TLayout)
    enum TAnchor { akLeft = 0x1, akTop = 0x2, akRight = 0x4, akBottom = 0x8 };
    Q_DECLARE_FLAGS(TAnchors, TAnchor)
    Q_FLAG(TAnchors)

    using QObject::QObject;

    TAnchors anchors() const { return m_anchors; }
    void setAnchors(TAnchors anchors) { m_anchors = anchors; }

    TLayout m_layout = lyTop;
    double m_ratio = 0.5;
    QChar m_accelerator = QLatin1Char('P');
    qint16 m_small = 7;
    qint64 m_big = 1;
    quint32 m_unsigned = 2;
    QStringList m_lines{QStringLiteral("first"), QStringLiteral("second")};
    QObject* m_partner = nullptr;
    TMethod m_onClick;
    QFont m_plainFont;
    QPoint m_spot;

private:
    TAnchors m_anchors{akLeft, akTop};
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TTestKinds::TAnchors)

// A window as the program builds one: the components above as its children,
// some of them inside a panel, with their object names.
struct TestForm {
    TTestWindow window;
    TTestOpenDialog* openDialog;
    TTestToolButton* timeDown;
    TTestCheckBox* changeAll;
    TTestColorBox* background;
    TTestPanel* panel;
    TTestKinds* kinds;

    TestForm()
    {
        window.setObjectName(QStringLiteral("frmTest"));
        openDialog = new TTestOpenDialog(&window);
        openDialog->setObjectName(QStringLiteral("OpenDialog1"));
        panel = new TTestPanel(&window);
        panel->setObjectName(QStringLiteral("pnlLyrics"));
        timeDown = new TTestToolButton(panel);
        timeDown->setObjectName(QStringLiteral("sbTimeDown"));
        changeAll = new TTestCheckBox(panel);
        changeAll->setObjectName(QStringLiteral("cbChangeAll"));
        background = new TTestColorBox(&window);
        background->setObjectName(QStringLiteral("cbBackground"));
        kinds = new TTestKinds(&window);
        kinds->setObjectName(QStringLiteral("Kinds1"));
    }
};

} // namespace harmonet::test
