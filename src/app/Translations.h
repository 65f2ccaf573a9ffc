#pragma once

#include <QLocale>
#include <QObject>
#include <QTranslator>

// The program's texts and Qt's own (the standard buttons and boxes) in one language, installed
// for as long as the object lives. A language without a translation leaves the English, quietly.
class Translations : public QObject {
    Q_OBJECT
public:
    explicit Translations(const QLocale& locale, QObject* parent = nullptr);
    ~Translations() override;

    // True when the program's own texts are translated.
    bool programTranslated() const { return m_programLoaded; }

private:
    QTranslator m_english;
    QTranslator m_program;
    QTranslator m_qt;
    bool m_englishLoaded = false;
    bool m_programLoaded = false;
    bool m_qtLoaded = false;
};

// For the user's language (LC_ALL, LC_MESSAGES, LANG, LANGUAGE), until the application ends.
// Called once the application object exists, before any window is made.
void installTranslations();
