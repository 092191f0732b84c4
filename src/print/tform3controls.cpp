#include "pagepreview.h"
#include "printpage.h"
#include "tform3.h"
#include "tform9.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

// The print window's controls: the preview's scroll area, the option boxes, the placement
// buttons, the free text and the command buttons, wired to what they do.

namespace loomscope {

void TForm3::buildControls()
{
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    PaintBox1 = new PagePreview;
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setPicture(&bit111);
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->viewport()->installEventFilter(this);
    outer->addWidget(ScrollBox1, 1);

    auto* side = new QVBoxLayout;
    outer->addLayout(side);
    auto button = [this](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };

    auto* options = new QGroupBox(tr("花样选项"), this);
    options->setObjectName(QStringLiteral("GroupBox1"));
    options->setFixedWidth(230);
    auto* optionLayout = new QVBoxLayout(options);
    auto box = [&](const QString& caption, const char* name, bool checked, bool enabled) {
        auto* b = new QCheckBox(caption, options);
        b->setObjectName(QLatin1String(name));
        b->setChecked(checked);
        b->setEnabled(enabled);
        optionLayout->addWidget(b);
        if (enabled)
            connect(b, &QCheckBox::clicked, this, &TForm3::recompose);
        return b;
    };
    CheckBox7 = box(tr("显示公司信息"), "CheckBox7", true, true);
    CheckBox8 = box(tr("显示花样信息"), "CheckBox8", true, true);
    CheckBox9 = box(tr("显示颜色"), "CheckBox9", true, true);
    CheckBox6 = box(tr("显示外框"), "CheckBox6", true, true);
    CheckBox1 = box(tr("仿真效果(不能打印)"), "CheckBox1", false, true);
    CheckBox3 = box(tr("起针结束点"), "CheckBox3", false, true);
    CheckBox4 = box(tr("针迹点"), "CheckBox4", false, false);
    CheckBox5 = box(tr("机器码"), "CheckBox5", false, false);

    auto* scaleLabel = new QLabel(tr("比例："), options);
    scaleLabel->setObjectName(QStringLiteral("Label1"));
    optionLayout->addWidget(scaleLabel);
    auto radio = [&](const QString& caption, const char* name) {
        auto* r = new QRadioButton(caption, options);
        r->setObjectName(QLatin1String(name));
        optionLayout->addWidget(r);
        connect(r, &QRadioButton::clicked, this, &TForm3::placementClicked);
        return r;
    };
    RadioButton1 = radio(tr("实际尺寸"), "RadioButton1");
    RadioButton2 = radio(tr("适合纸张"), "RadioButton2");
    RadioButton3 = radio(tr("指定区域"), "RadioButton3");
    RadioButton1->setChecked(true);
    Button9 = button(tr("选择区域"), "Button9");
    Button9->setEnabled(false);
    optionLayout->addWidget(Button9);
    auto* optionButtons = new QHBoxLayout;
    Button8 = button(tr("保存设置"), "Button8");
    Button7 = button(tr("设置"), "Button7");
    Button7->setToolTip(tr("设置公司信息"));
    optionButtons->addWidget(Button8);
    optionButtons->addWidget(Button7);
    optionLayout->addLayout(optionButtons);
    side->addWidget(options);

    auto* textGroup = new QGroupBox(tr("文本描述"), this);
    textGroup->setObjectName(QStringLiteral("GroupBox2"));
    textGroup->setFixedWidth(230);
    auto* textLayout = new QVBoxLayout(textGroup);
    Memo1 = new QPlainTextEdit(textGroup);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setMinimumHeight(90);
    textLayout->addWidget(Memo1);
    auto* textButtons = new QHBoxLayout;
    Button4 = button(tr("更新"), "Button4");
    Button5 = button(tr("选择位置"), "Button5");
    textButtons->addWidget(Button4);
    textButtons->addWidget(Button5);
    textLayout->addLayout(textButtons);
    side->addWidget(textGroup);

    Button6 = button(tr("改针数"), "Button6");
    side->addWidget(Button6);
    side->addStretch();
    auto* fileButtons = new QGridLayout;
    Button1 = button(tr("打印"), "Button1");
    Button2 = button(tr("保存"), "Button2");
    pdfButton = button(QStringLiteral("PDF"), "pdfButton");
    pdfButton->setToolTip(tr("保存为 PDF"));
    Button3 = button(tr("关闭"), "Button3");
    fileButtons->addWidget(Button1, 0, 0);
    fileButtons->addWidget(Button3, 0, 1);
    fileButtons->addWidget(Button2, 1, 0);
    fileButtons->addWidget(pdfButton, 1, 1);
    side->addLayout(fileButtons);

    connect(Button1, &QPushButton::clicked, this, &TForm3::printCommand);
    connect(Button2, &QPushButton::clicked, this, &TForm3::saveCommand);
    connect(pdfButton, &QPushButton::clicked, this, &TForm3::pdfCommand);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button4, &QPushButton::clicked, this, &TForm3::recompose);
    connect(Button5, &QPushButton::clicked, this, [this] {
        pointer_.armTextPosition();
        PaintBox1->setCursor(Qt::CrossCursor);
    });
    connect(Button6, &QPushButton::clicked, this, &TForm3::stitchCountCommand);
    // The page shows the shop's details as they are when the dialog closes.
    connect(Button7, &QPushButton::clicked, this, [this] {
        Form9->exec();
        if (page_.candraw)
            recompose();
    });
    connect(Button8, &QPushButton::clicked, this, &TForm3::saveOptions);
    connect(Button9, &QPushButton::clicked, this, [this] {
        pointer_.armArea();
        PaintBox1->setCursor(Qt::CrossCursor);
    });
    connect(PaintBox1, &PagePreview::pressed, this, [this](QPoint at) {
        applyPointer(pointer_.press({at.x(), at.y()}));
    });
    connect(PaintBox1, &PagePreview::moved, this, [this](QPoint at) {
        applyPointer(pointer_.move({at.x(), at.y()}));
    });
    connect(PaintBox1, &PagePreview::released, this, [this](QPoint at) {
        applyPointer(pointer_.release({at.x(), at.y()}));
    });
}

} // namespace loomscope
