#include "tform9.h"

#include "config/companyinfo.h"
#include "config/configstore.h"
#include "model/fileio.h"
#include "pagefiles.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "widgets/enterinert.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace loomscope {

TForm9::TForm9(ConfigStore& config, const QString& programHome, UserMessages& messages,
               QWidget* parent)
    : QDialog(parent), config_(config), programHome_(pathBytes(programHome)), messages_(messages)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(tr("设置公司信息"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 14, 16, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    auto field = [&](int row, const QString& caption, const char* name) {
        auto* label = new QLabel(caption, this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMinimumWidth(260);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, Qt::AlignRight);
        grid->addWidget(edit, row, 1, 1, 3);
        return edit;
    };
    Edit1 = field(0, tr("公司名称："), "Edit1");
    Edit2 = field(1, tr("网址："), "Edit2");
    Edit3 = field(2, tr("Email："), "Edit3");
    Edit4 = field(3, tr("联系电话："), "Edit4");

    grid->addWidget(new QLabel(tr("公司图标："), this), 4, 0, Qt::AlignRight | Qt::AlignTop);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(kLogoSize, kLogoSize);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setFrameShape(QFrame::Box);
    grid->addWidget(Image1, 4, 1, Qt::AlignLeft);
    Button3 = new QPushButton(QStringLiteral("..."), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setFixedWidth(32);
    Button3->setToolTip(tr("选择图片 (JPEG, PNG, BMP)"));
    grid->addWidget(Button3, 4, 2, Qt::AlignLeft | Qt::AlignTop);
    auto* hint = new QLabel(tr("50x50像素，自己裁一下"), this);
    hint->setObjectName(QStringLiteral("Label6"));
    hint->setStyleSheet(QStringLiteral("color: red"));
    grid->addWidget(hint, 4, 3, Qt::AlignLeft | Qt::AlignTop);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button1 = new QPushButton(tr("保存"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(tr("关闭"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    grid->addLayout(buttons, 5, 0, 1, 4);
    grid->setColumnStretch(3, 1);

    connect(Button1, &QPushButton::clicked, this, [this] { saveTexts(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button3, &QPushButton::clicked, this, &TForm9::chooseLogo);
    makeEnterInert(*this);
}

void TForm9::showEvent(QShowEvent* event)
{
    loadFromConfig();
    QDialog::showEvent(event);
}

void TForm9::loadFromConfig()
{
    const CompanyInfoRead read = readcompanyinfo(config_);
    if (!read.error.empty())
        messages_.error(this, QString::fromStdString(read.error));
    Edit1->setText(QString::fromStdString(read.info.comname));
    Edit2->setText(QString::fromStdString(read.info.website));
    Edit3->setText(QString::fromStdString(read.info.email));
    Edit4->setText(QString::fromStdString(read.info.tel));
    Image1->clear();
    const std::string logo = companyLogoPath(programHome_);
    if (fileExists(logo))
        showPicture(QImage(QString::fromStdString(logo)));
}

void TForm9::showPicture(const QImage& picture)
{
    if (picture.isNull()) {
        Image1->clear();
        return;
    }
    Image1->setPixmap(QPixmap::fromImage(
        picture.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TForm9::chooseLogo()
{
    const QString path = QFileDialog::getOpenFileName(
        this, tr("公司图标"), QString(),
        tr("图片 (*.jpg *.jpeg *.png *.bmp *.JPG *.JPEG *.PNG *.BMP);;所有文件 (*)"));
    if (!path.isEmpty())
        pickLogo(path);
}

bool TForm9::pickLogo(const QString& picturePath)
{
    QString error;
    const QImage picture = loadPicture(picturePath, &error);
    if (picture.isNull()) {
        messages_.error(this, error);
        return false;
    }
    Image1->clear();
    showPicture(picture);
    if (const QString failed = writeCompanyLogo(picture, programHome_); !failed.isEmpty()) {
        messages_.error(this, failed);
        // Show the logo that pages will really carry: the old one, which stayed whole.
        const std::string logo = companyLogoPath(programHome_);
        showPicture(fileExists(logo) ? QImage(QString::fromStdString(logo)) : QImage());
        return false;
    }
    return true;
}

bool TForm9::saveTexts()
{
    const CompanyInfo info{Edit1->text().toStdString(), Edit2->text().toStdString(),
                           Edit3->text().toStdString(), Edit4->text().toStdString()};
    if (const std::string failed = writecompanyinfo(config_, info); !failed.empty()) {
        messages_.error(this, QString::fromStdString(failed));
        return false;
    }
    return true;
}

} // namespace loomscope
