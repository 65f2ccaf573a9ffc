#include "windows/ui/TAbtFrm.h"
#include "windows/ui/DialogFlags.h"

#include "core/Version.h"
#include "windows/ui/AboutPicture.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr int kWidth = 232;
constexpr int kHeight = 156;
} // namespace

TAbtFrm::TAbtFrm(QWidget* parent) : QDialog(parent, FixedDialogFlags)
{
    setObjectName(QStringLiteral("AbtFrm"));
    setWindowTitle(tr("About Horolux"));
    setFixedSize(kWidth, kHeight);

    m_imgProduct = new QLabel(this);
    m_imgProduct->setObjectName(QStringLiteral("imgProduct"));
    m_imgProduct->setGeometry(8, 8, AboutPicture::Width, AboutPicture::Height);
    m_imgProduct->setPixmap(QPixmap::fromImage(AboutPicture::make()));
    // The picture carries the name; the caption below gives only the major version.
    m_imgProduct->setAccessibleName(tr("Horolux, version %1").arg(QStringLiteral(HOROLUX_VERSION)));

    QFont bold = font();
    bold.setBold(true);
    m_lbVersion = new QLabel(tr("Horolux version %1").arg(QStringLiteral(HOROLUX_VERSION)), this);
    m_lbVersion->setObjectName(QStringLiteral("lbVersion"));
    m_lbVersion->setFont(bold);
    m_lbVersion->setAlignment(Qt::AlignCenter);
    m_lbVersion->setGeometry(8, 78, 216, 18);

    m_lbTagline = new QLabel(tr("A desktop clock with reminders"), this);
    m_lbTagline->setObjectName(QStringLiteral("lbTagline"));
    m_lbTagline->setAlignment(Qt::AlignCenter);
    m_lbTagline->setGeometry(8, 96, 216, 18);

    m_btnOK = new QPushButton(tr("OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setGeometry((kWidth - 75) / 2, 122, 75, 25);
    m_btnOK->setDefault(true);
    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);

    // Centred on the screen, not over the clock, which may sit in a corner.
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}
