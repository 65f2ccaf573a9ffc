#include "windows/ui/HelpWindow.h"

#include "windows/ui/HelpPages.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int kIdRole = Qt::UserRole;
constexpr int kTextRole = Qt::UserRole + 1;
} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Horolux Help"));
    setObjectName(QStringLiteral("HelpWindow"));
    // The clock itself may be hidden; closing the help must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_btnBack = new QPushButton(tr("< &Back"), this);
    m_btnForward = new QPushButton(tr("&Forward >"), this);
    m_btnContents = new QPushButton(tr("&Contents"), this);
    m_search = new QLineEdit(this);
    m_search->setPlaceholderText(tr("Search topics"));
    m_search->setClearButtonEnabled(true);
    m_search->setMinimumWidth(180);
    m_search->setAccessibleName(m_search->placeholderText());

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_btnBack);
    bar->addWidget(m_btnForward);
    bar->addWidget(m_btnContents);
    bar->addStretch(1);
    bar->addWidget(m_search);

    m_topics = new QListWidget(this);
    m_topics->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_topics->setTextElideMode(Qt::ElideRight);
    m_topics->setAccessibleName(tr("Topics"));
    for (const HelpPages::Page& page : HelpPages::all()) {
        auto* item = new QListWidgetItem(page.title, m_topics);
        item->setData(kIdRole, page.id);
        // Searched as plain text, so that words inside tags do not match.
        item->setData(kTextRole, page.title + QLatin1Char('\n') +
                                     QTextDocumentFragment::fromHtml(page.html).toPlainText());
    }

    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(false);
    m_browser->setAccessibleName(tr("Help page"));
    m_browser->document()->setDocumentMargin(12);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_topics);
    split->addWidget(m_browser);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    split->setSizes({210, 510});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    connect(m_btnBack, &QPushButton::clicked, this, &HelpWindow::back);
    connect(m_btnForward, &QPushButton::clicked, this, &HelpWindow::forward);
    connect(m_btnContents, &QPushButton::clicked, this, &HelpWindow::home);
    connect(new QShortcut(QKeySequence::Back, this), &QShortcut::activated, this,
            &HelpWindow::back);
    connect(new QShortcut(QKeySequence::Forward, this), &QShortcut::activated, this,
            &HelpWindow::forward);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, m_search,
            qOverload<>(&QWidget::setFocus));
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::linkClicked);
    connect(m_topics, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showTopic(item->data(kIdRole).toString()); });
    connect(m_topics, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showTopic(item->data(kIdRole).toString()); });
    connect(m_search, &QLineEdit::textChanged, this, &HelpWindow::filterTopics);
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        const QStringList found = listedTopics();
        if (!found.isEmpty())
            showTopic(found.first());
    });

    resize(760, 540);
    showTopic(HelpPages::contentsId());
}

bool HelpWindow::showTopic(const QString& id)
{
    const bool known = HelpPages::find(id) != nullptr;
    const QString target = known ? id : HelpPages::contentsId();
    if (m_historyPos >= 0 && m_history.at(m_historyPos) == target) {
        display(target);
        return known;
    }
    // A new page drops whatever lay ahead of the current one, as in a web browser.
    while (m_history.size() > m_historyPos + 1)
        m_history.removeLast();
    m_history.append(target);
    m_historyPos = m_history.size() - 1;
    display(target);
    return known;
}

QString HelpWindow::currentTopic() const
{
    return m_historyPos >= 0 ? m_history.at(m_historyPos) : QString();
}

QStringList HelpWindow::listedTopics() const
{
    QStringList result;
    for (int i = 0; i < m_topics->count(); ++i) {
        if (!m_topics->item(i)->isHidden())
            result.append(m_topics->item(i)->data(kIdRole).toString());
    }
    return result;
}

void HelpWindow::setSearchText(const QString& text)
{
    m_search->setText(text);
}

void HelpWindow::back()
{
    if (!canGoBack())
        return;
    --m_historyPos;
    display(m_history.at(m_historyPos));
}

void HelpWindow::forward()
{
    if (!canGoForward())
        return;
    ++m_historyPos;
    display(m_history.at(m_historyPos));
}

void HelpWindow::home()
{
    showTopic(HelpPages::contentsId());
}

void HelpWindow::display(const QString& id)
{
    const HelpPages::Page* page = HelpPages::find(id);
    if (!page)
        return;
    m_browser->setHtml(
        QStringLiteral("<h2>%1</h2>%2").arg(page->title.toHtmlEscaped(), page->html));
    for (int i = 0; i < m_topics->count(); ++i) {
        QListWidgetItem* item = m_topics->item(i);
        if (item->data(kIdRole).toString() == id) {
            m_topics->setCurrentItem(item);
            break;
        }
    }
    updateButtons();
}

void HelpWindow::updateButtons()
{
    m_btnBack->setEnabled(canGoBack());
    m_btnForward->setEnabled(canGoForward());
}

void HelpWindow::filterTopics(const QString& text)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i < m_topics->count(); ++i) {
        QListWidgetItem* item = m_topics->item(i);
        const QString haystack = item->data(kTextRole).toString();
        bool match = true;
        for (const QString& word : words) {
            if (!haystack.contains(word, Qt::CaseInsensitive)) {
                match = false;
                break;
            }
        }
        item->setHidden(!match);
    }
}

void HelpWindow::linkClicked(const QUrl& url)
{
    // Pages link by bare topic identifier; anything else has no business in the help.
    if (url.isRelative() && !url.path().isEmpty())
        showTopic(url.path());
}

void HelpWindow::attachTo(QWidget* modal)
{
    if (modal == this)
        modal = nullptr;
    if (modal == m_host)
        return;
    if (m_host)
        m_host->removeEventFilter(this);
    const bool wasVisible = isVisible();
    const QRect place = geometry();
    m_host = modal;
    setParent(modal, Qt::Window);
    if (modal)
        modal->installEventFilter(this);
    if (wasVisible) {
        setGeometry(place);
        show();
    }
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_host && event->type() == QEvent::Hide && !event->spontaneous()) {
        // Leave before the dialog is destroyed, or we would be destroyed with it.
        attachTo(nullptr);
        // A dialog further out may still be running (Settings behind Configure).
        QTimer::singleShot(0, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && isVisible())
                attachTo(modal);
        });
    }
    return QWidget::eventFilter(watched, event);
}
