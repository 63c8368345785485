#include "windows/HelpViewer.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

// Resources of a static library are registered explicitly, outside any namespace.
static void registerHelpPages()
{
    Q_INIT_RESOURCE(help);
}

namespace harmonet {

namespace {
struct ContextPage {
    int context;
    const char* page;
};

constexpr ContextPage ContextPages[] = {
    {HelpContext::Contents, "contents.html"},
    {HelpContext::MainWindow, "main-window.html"},
    {HelpContext::TrackMixer, "track-mixer.html"},
    {HelpContext::LyricsWindow, "lyrics-window.html"},
    {HelpContext::Settings, "settings.html"},
    {HelpContext::LyricsWindowFont, "settings.html#lyrics-font"},
};
} // namespace

THelpViewer::THelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    registerHelpPages();
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(tr("Harmonet - Help"));
    resize(560, 480);

    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);

    auto* back = new QPushButton(tr("< Back"), this);
    auto* forward = new QPushButton(tr("Forward >"), this);
    auto* contents = new QPushButton(tr("Contents"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] { showContext(HelpContext::Contents); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
}

QUrl THelpViewer::pageOfContext(int context)
{
    const char* page = ContextPages[0].page;
    for (const ContextPage& entry : ContextPages) {
        if (entry.context == context) {
            page = entry.page;
        }
    }
    return QUrl(QStringLiteral("qrc:/help/") + QLatin1String(page));
}

void THelpViewer::showContext(int context)
{
    m_browser->setSource(pageOfContext(context));
    show();
    raise();
    activateWindow();
}

void THelpViewer::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

THelpViewer* showHelpContext(QWidget* owner, int context)
{
    QWidget* window = owner->window();
    auto* viewer = window->findChild<THelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
    if (!viewer) {
        viewer = new THelpViewer(window);
    }
    viewer->showContext(context);
    return viewer;
}

} // namespace harmonet
