#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

Translations::Translations(const QLocale& locale, QObject* parent) : QObject(parent)
{
    // The program's own come with it, compiled in; Qt's are the system's, where installed.
    // English plurals ("1 second") underlie every language, for the texts another leaves out.
    m_englishLoaded = m_english.load(QStringLiteral(":/i18n/horolux_en.qm"));
    if (m_englishLoaded)
        QCoreApplication::installTranslator(&m_english);
    if (locale.language() != QLocale::English)
        m_programLoaded = m_program.load(locale, QStringLiteral("horolux"), QStringLiteral("_"),
                                         QStringLiteral(":/i18n"));
    if (m_programLoaded)
        QCoreApplication::installTranslator(&m_program);
    m_qtLoaded = m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (m_qtLoaded)
        QCoreApplication::installTranslator(&m_qt);
}

Translations::~Translations()
{
    // As the application's child it goes after the application object, which drops them itself.
    if (!QCoreApplication::instance())
        return;
    if (m_englishLoaded)
        QCoreApplication::removeTranslator(&m_english);
    if (m_programLoaded)
        QCoreApplication::removeTranslator(&m_program);
    if (m_qtLoaded)
        QCoreApplication::removeTranslator(&m_qt);
}

void installTranslations()
{
    new Translations(QLocale(), QCoreApplication::instance());
}
