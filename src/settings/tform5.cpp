#include "tform5.h"

#include "config/projectinfo.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace loomscope {

TForm5::TForm5(const QString& manualPath, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(439, 279);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(4);
    auto line = [&](const QString& text, const char* name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setWordWrap(true);
        layout->addWidget(label);
        return label;
    };
    QLabel* intro =
        line(tr("LoomScope 是一个免费的刺绣花样查看软件：打开 DST 版带，查看针迹或仿真效果，"
                "测量、打印、导出高清图片。欢迎提出意见和建议。"),
             "Label1");
    intro->setFixedSize(401, 77);
    intro->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    line(tr("当前版本：V4.0;"), "Label2");
    line(tr("更新新日期：2012-10-1;"), "Label3");
    line(tr("本软件在 Debian 12 / Qt 6 下编译测试；在其他系统上遇到问题，请告诉我们。"), "Label4");
    line(tr("作者：LoomScope 开发组"), "Label5");
    line(tr("程序：%1，刺绣版带查看软件").arg(QLatin1String(kProgramNameAndVersion)), "Label6");
    line(tr("问题和建议请告诉为您安装本软件的人。"), "Label7");
    QLabel* link =
        line(manualPath.isEmpty() ? tr("使用手册：未安装") : tr("使用手册：%1").arg(manualPath),
             "Label8");
    link->setEnabled(false);
    layout->addStretch();

    auto* close = new QPushButton(tr("关闭"), this);
    close->setObjectName(QStringLiteral("Button1"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
}

} // namespace loomscope
