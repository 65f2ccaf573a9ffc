#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;
class QUrl;

// The help viewer: the list of topics on the left, the page on the right, with Back, Forward,
// Contents and a search box that narrows the list to topics containing the words typed.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the topic and records it in the history. An unknown identifier shows the contents
    // and returns false.
    bool showTopic(const QString& id);
    QString currentTopic() const;
    bool canGoBack() const { return m_historyPos > 0; }
    bool canGoForward() const { return m_historyPos + 1 < m_history.size(); }

    // Identifiers of the topics the list currently offers (after the search filter).
    QStringList listedTopics() const;
    void setSearchText(const QString& text);

    // Makes the window usable while `modal` runs: a window blocked by a modal dialog cannot
    // be read or scrolled, but one owned by the dialog can. Ownership returns to the desktop
    // when the dialog hides. nullptr detaches.
    void attachTo(QWidget* modal);
    QWidget* attachedTo() const { return m_host; }

public slots:
    void back();
    void forward();
    void home();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void display(const QString& id);
    void updateButtons();
    void filterTopics(const QString& text);
    void linkClicked(const QUrl& url);

    QLineEdit* m_search;
    QListWidget* m_topics;
    QTextBrowser* m_browser;
    QPushButton* m_btnBack;
    QPushButton* m_btnForward;
    QPushButton* m_btnContents;
    QStringList m_history;
    int m_historyPos = -1;
    QPointer<QWidget> m_host;
};
