#include "priceoptionsgroup.h"

#include "session/usermessages.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

namespace loomscope {

namespace {

constexpr int kGroupHeight = 112;
constexpr int kFieldWidth = 72;

QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

PriceOptionsGroup::PriceOptionsGroup(UserMessages& messages, char decimalSeparator, QWidget* parent)
    : QGroupBox(tr("统计选项"), parent), messages_(messages), separator_(decimalSeparator)
{
    setObjectName(QStringLiteral("GroupBox1"));
    setFixedHeight(kGroupHeight);
    Edit4 = addField("Edit4", false);
    Edit5 = addField("Edit5", true);
    Edit6 = addField("Edit6", false, true);
    Edit7 = addField("Edit7", false);
    Edit8 = addField("Edit8", true);
    Edit9 = addField("Edit9", false, true);
    Edit10 = addField("Edit10", false);
    Edit11 = addField("Edit11", true);
    Edit12 = addField("Edit12", false, true);
    Edit13 = addField("Edit13", false);
    Edit14 = addField("Edit14", true);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    grid->addWidget(label(tr("1.起步针数："), this), 0, 0);
    grid->addWidget(Edit4, 0, 1);
    grid->addWidget(label(tr("之内  起步额(元)："), this), 0, 2, 1, 3);
    grid->addWidget(Edit5, 0, 5);
    const QString ranges[] = {tr("2.条件一：针数在"), tr("  条件二：针数在"),
                              tr("  条件三：针数在")};
    QLineEdit* const fields[3][3] = {
        {Edit6, Edit7, Edit8}, {Edit9, Edit10, Edit11}, {Edit12, Edit13, Edit14}};
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(label(ranges[r], this), r + 1, 0);
        grid->addWidget(fields[r][0], r + 1, 1);
        auto* tilde = new QLabel(tr("～"), this);
        tilde->setAlignment(Qt::AlignCenter);
        grid->addWidget(tilde, r + 1, 2);
        grid->addWidget(fields[r][1], r + 1, 3);
        grid->addWidget(label(tr("之间单价(厘):"), this), r + 1, 4);
        grid->addWidget(fields[r][2], r + 1, 5);
    }

    auto* note = new QLabel(tr("注：如果全按一个价算就只要条件1，把针数设足够大，\n"
                               "否则针数超过设定值按0计算，如果不同针数按不同价格\n"
                               "就设其它条件；统计结果出来后要记得另存哦，亲。"),
                            this);
    note->setObjectName(QStringLiteral("priceNote"));
    QFont small = font();
    small.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    small.setPixelSize(11);
    note->setFont(small);
    note->setStyleSheet(QStringLiteral("color: red"));
    // Its lines break where the text does when there is room, and wherever they must when
    // the window is narrower: the note is read, never cut.
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note->setMinimumWidth(120);
    note->installEventFilter(this);
    note_ = note;
    grid->addWidget(note, 0, 6, 3, 1);

    SpeedButton8 = new QToolButton(this);
    SpeedButton8->setObjectName(QStringLiteral("SpeedButton8"));
    SpeedButton8->setText(tr("隐藏"));
    SpeedButton6 = new QToolButton(this);
    SpeedButton6->setObjectName(QStringLiteral("SpeedButton6"));
    SpeedButton6->setText(tr("保存统计结果"));
    for (QToolButton* b : {SpeedButton8, SpeedButton6}) {
        // Pressing them leaves the focus where it is: a value typed just before is read as
        // it stands, without the leave-field rules.
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SpeedButton8);
    buttons->addWidget(SpeedButton6);
    buttons->addStretch();
    grid->addLayout(buttons, 3, 6);
    grid->setColumnStretch(6, 1);
    connect(SpeedButton8, &QToolButton::clicked, this, &QWidget::hide);
    connect(SpeedButton6, &QToolButton::clicked, this, &PriceOptionsGroup::reportRequested);
    hide();
}

QLineEdit* PriceOptionsGroup::addField(const char* name, bool decimal, bool mirror)
{
    auto* e = new QLineEdit(QStringLiteral("0"), this);
    e->setObjectName(QLatin1String(name));
    e->setFixedWidth(kFieldWidth);
    e->setProperty("decimal", decimal);
    if (mirror) {
        e->setReadOnly(true);
        e->setEnabled(false);
    }
    // An input method would hand over text without key presses, past the filter.
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->installEventFilter(this);
    return e;
}

PriceFields PriceOptionsGroup::fields() const
{
    PriceFields f;
    f.start = Edit4->text().toStdString();
    f.fee = Edit5->text().toStdString();
    f.ranges[0] = {Edit6->text().toStdString(), Edit7->text().toStdString(),
                   Edit8->text().toStdString()};
    f.ranges[1] = {Edit9->text().toStdString(), Edit10->text().toStdString(),
                   Edit11->text().toStdString()};
    f.ranges[2] = {Edit12->text().toStdString(), Edit13->text().toStdString(),
                   Edit14->text().toStdString()};
    return f;
}

void PriceOptionsGroup::setReportEnabled(bool enabled)
{
    SpeedButton6->setEnabled(enabled);
    SpeedButton6->setToolTip(enabled ? QString() : tr("列表填充中，完成后可统计"));
}

void PriceOptionsGroup::fitNote()
{
    // The group keeps its height while the note fits, and grows by what a narrow window makes
    // the wrapped note need beyond its rows (in steps: the rows share what the group gains).
    const int extra = std::max(0, extra_ + note_->heightForWidth(note_->width()) - note_->height());
    if (extra == extra_)
        return;
    extra_ = extra;
    setFixedHeight(kGroupHeight + extra_);
    QTimer::singleShot(0, this, &PriceOptionsGroup::fitNote);
}

bool PriceOptionsGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == note_ && event->type() == QEvent::Resize)
        fitNote();
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field)
        return QGroupBox::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        // Typed characters other than digits (and a decimal mark in a price) are swallowed;
        // keys that type nothing (arrows, Delete, Backspace, shortcuts) go through.
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.isEmpty() || !text.at(0).isPrint())
            return false;
        const QChar c = text.at(0);
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool mark = field->property("decimal").toBool() &&
                          (c == QLatin1Char('.') || c == QLatin1Char(separator_));
        return !(text.size() == 1 && (digit || mark));
    }
    if (event->type() == QEvent::FocusOut) {
        // Only the focus moving to another control counts as leaving; switching windows or
        // opening a menu does not.
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason)
            leaveField(field);
    }
    return false;
}

void PriceOptionsGroup::leaveField(QLineEdit* field)
{
    if (field == Edit4) {
        if (Edit4->text().isEmpty())
            Edit4->setText(QStringLiteral("0"));
        Edit6->setText(Edit4->text());
    } else if (field == Edit7) {
        leaveUpperBound(Edit7, Edit6, Edit9);
    } else if (field == Edit10) {
        leaveUpperBound(Edit10, Edit9, Edit12);
    } else if (field == Edit13) {
        leaveUpperBound(Edit13, Edit12, nullptr);
    }
}

void PriceOptionsGroup::leaveUpperBound(QLineEdit* upper, QLineEdit* lower, QLineEdit* nextLower)
{
    if (upper->text().isEmpty())
        upper->setText(QStringLiteral("0"));
    const Converted<int> u = parseIntegerField(upper->text().toStdString());
    const Converted<int> l = parseIntegerField(lower->text().toStdString());
    if (!u.value || !l.value) {
        // A number too long for a count: said at once, and nothing is copied.
        messages_.error(this, QString::fromStdString(!u.value ? u.error : l.error));
        return;
    }
    if (*u.value < *l.value)
        upper->setText(lower->text());
    if (nextLower)
        nextLower->setText(upper->text());
}

} // namespace loomscope
