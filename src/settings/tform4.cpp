#include "tform4.h"

#include "config/configstore.h"
#include "desktopsetup.h"
#include "drawing/programfonts.h"
#include "editorcommand.h"
#include "fabricfolder.h"
#include "model/fileio.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "settingsconfig.h"
#include "widgets/colourswatch.h"
#include "widgets/enterinert.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

namespace loomscope {

namespace {

// The editor chooser shows folders, programs and desktop entries only.
class EditorFileFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const auto* model = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!model)
            return true;
        const QFileInfo info = model->fileInfo(model->index(row, 0, parent));
        return info.isDir() || info.isExecutable() ||
               info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0;
    }
};

// Busy cursor while the desktop's databases are refreshed.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

template <typename T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TForm4::TForm4(ConfigStore& config, const QString& programHome, UserMessages& messages,
               QWidget* parent)
    : QDialog(parent), config_(config), programHome_(programHome), messages_(messages),
      desktopProgram_(desktopProgramFile())
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(tr("设置"));
    setFixedSize(462, 299);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(8, 6, 8, 8);
    page->setSpacing(6);
    buildGeneralGroup(page);

    // Background and sequins side by side.
    auto* lower = new QHBoxLayout;
    lower->setSpacing(8);
    auto* background = named(new QGroupBox(tr("背景"), this), "GroupBox2");
    auto* bg = new QGridLayout(background);
    bg->setContentsMargins(8, 4, 8, 6);
    bg->setVerticalSpacing(5);
    CheckBox4 = named(new QCheckBox(tr("开启布底"), background), "CheckBox4");
    Panel2 = named(new ColourSwatch(15658734, background), "Panel2");
    Panel3 = named(new ColourSwatch(0xFFFFFF, background), "Panel3");
    ComboBox1 = named(new QComboBox(background), "ComboBox1");
    ComboBox1->setFixedWidth(131);
    for (ColourSwatch* swatch : {Panel2, Panel3})
        swatch->setFixedSize(60, 20);
    bg->addWidget(CheckBox4, 0, 0, 1, 2);
    bg->addWidget(new QLabel(tr("背景颜色："), background), 1, 0);
    bg->addWidget(Panel2, 1, 1, Qt::AlignLeft);
    bg->addWidget(new QLabel(tr("布底颜色："), background), 2, 0);
    bg->addWidget(Panel3, 2, 1, Qt::AlignLeft);
    bg->addWidget(new QLabel(tr("布底名："), background), 3, 0);
    bg->addWidget(ComboBox1, 3, 1, Qt::AlignLeft);
    lower->addWidget(background, 1);

    auto* sequins = named(new QGroupBox(tr("珠片"), this), "GroupBox3");
    auto* sq = new QGridLayout(sequins);
    sq->setContentsMargins(8, 4, 8, 6);
    sq->setVerticalSpacing(5);
    Edit1 = named(new QLineEdit(QStringLiteral("5"), sequins), "Edit1");
    Edit2 = named(new QLineEdit(QStringLiteral("1.5"), sequins), "Edit2");
    // Digits and one decimal separator, "." or the user's own.
    const QString separator =
        QRegularExpression::escape(QString(QLatin1Char(localeDecimalSeparator())));
    auto* decimal = new QRegularExpressionValidator(
        // An alternation, not a class: "[." would open a POSIX collating element.
        QRegularExpression(QStringLiteral("[0-9]*((?:\\.|%1)[0-9]*)?").arg(separator)), this);
    for (QLineEdit* edit : {Edit1, Edit2}) {
        edit->setValidator(decimal);
        edit->setFixedWidth(48);
    }
    Panel1 = named(new ColourSwatch(11842740, sequins), "Panel1");
    Panel1->setFixedSize(48, 20);
    // A click on a swatch opens the colour dialog, preset to the swatch's colour.
    for (ColourSwatch* swatch : {Panel1, Panel2, Panel3}) {
        swatch->setFrameShadow(QFrame::Sunken);
        swatch->setCursor(Qt::PointingHandCursor);
        connect(swatch, &ColourSwatch::clicked, this, [this, swatch] {
            const TColor c = swatch->colour();
            const QColor chosen =
                QColorDialog::getColor(QColor(redOf(c), greenOf(c), blueOf(c)), this, QString());
            if (chosen.isValid())
                swatch->setColour(rgb(chosen.red(), chosen.green(), chosen.blue()));
        });
    }
    sq->addWidget(new QLabel(tr("亮片外径："), sequins), 0, 0);
    sq->addWidget(Edit1, 0, 1);
    sq->addWidget(named(new QLabel(tr("(默认5mm)"), sequins), "Label8"), 0, 2);
    sq->addWidget(new QLabel(tr("亮片内径："), sequins), 1, 0);
    sq->addWidget(Edit2, 1, 1);
    sq->addWidget(named(new QLabel(tr("(默认1.5mm)"), sequins), "Label9"), 1, 2);
    sq->addWidget(new QLabel(tr("亮片颜色："), sequins), 2, 0);
    sq->addWidget(Panel1, 2, 1);
    sq->setRowStretch(3, 1);
    lower->addWidget(sequins, 1);
    page->addLayout(lower, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button1 = named(new QPushButton(tr("保存"), this), "Button1");
    Button2 = named(new QPushButton(tr("关闭"), this), "Button2");
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    page->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TForm4::saveSettings);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm4::chooseEditor);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm4::testEditor);
    connect(Button4, &QPushButton::clicked, this, &TForm4::associate);
    connect(Button3, &QPushButton::clicked, this, [this] { registerThumbnailer(true); });
    connect(Button6, &QPushButton::clicked, this, [this] { registerThumbnailer(false); });
    connect(Button5, &QPushButton::clicked, this,
            [this] { registerSibling(int(SiblingPlugin::DstProperties), true); });
    connect(Button7, &QPushButton::clicked, this,
            [this] { registerSibling(int(SiblingPlugin::DstProperties), false); });
    connect(Button9, &QPushButton::clicked, this,
            [this] { registerSibling(int(SiblingPlugin::EmbThumbnails), true); });
    connect(Button8, &QPushButton::clicked, this,
            [this] { registerSibling(int(SiblingPlugin::EmbThumbnails), false); });
    makeEnterInert(*this);
}

void TForm4::buildGeneralGroup(QVBoxLayout* page)
{
    auto* general = named(new QGroupBox(tr("常规"), this), "GroupBox1");
    auto* grid = new QGridLayout(general);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);
    auto button = [&](const char* name, const QString& caption, int row, int column) {
        auto* b = named(new QPushButton(caption, general), name);
        grid->addWidget(b, row, column);
        return b;
    };
    Button4 = button("Button4", tr("关联dst格式"), 0, 0);
    Button3 = button("Button3", tr("注册dst缩略图"), 0, 1);
    Button5 = button("Button5", tr("注册dst属性页"), 0, 2);
    Button9 = button("Button9", tr("注册emb缩略图"), 0, 3);
    Button6 = button("Button6", tr("卸载dst缩略图"), 1, 1);
    Button7 = button("Button7", tr("卸载dst属性页"), 1, 2);
    Button8 = button("Button8", tr("卸载emb缩略图"), 1, 3);

    auto* editorRow = new QHBoxLayout;
    editorRow->setSpacing(4);
    editorRow->addWidget(new QLabel(tr("版带编辑软件："), general));
    SpeedButton1 = named(new QToolButton(general), "SpeedButton1");
    SpeedButton1->setText(QStringLiteral("..."));
    Edit3 = named(new QLineEdit(general), "Edit3");
    Edit3->setFixedWidth(261);
    SpeedButton2 = named(new QToolButton(general), "SpeedButton2");
    SpeedButton2->setText(tr("测试"));
    editorRow->addWidget(SpeedButton1);
    editorRow->addWidget(Edit3);
    editorRow->addWidget(SpeedButton2);
    editorRow->addStretch();
    grid->addLayout(editorRow, 2, 0, 1, 4);
    page->addWidget(general);
}

QString TForm4::editorPath() const
{
    return Edit3->text();
}

void TForm4::setEditorPath(const QString& path)
{
    Edit3->setText(path);
}

void TForm4::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred on the screen, not on the main window.
    if (const QScreen* shownOn = screen())
        move(shownOn->availableGeometry().center() - rect().center());
    loadSettings();
}

void TForm4::loadSettings()
{
    const std::string home = pathBytes(programHome_);
    if (fabricFolderExists(home)) {
        ComboBox1->clear();
        for (const FabricPicture& fabric : listFabrics(home))
            ComboBox1->addItem(displayPath(fabric.name), QByteArray::fromStdString(fabric.name));
        ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    }

    if (const std::string& error = config_.readError(); !error.empty()) {
        messages_.error(this, tr("无法读取配置文件 %1：%2")
                                  .arg(displayPath(config_.path()), QString::fromStdString(error)));
        return;
    }
    const IniFile& ini = config_.ini();
    SettingsValues values = valuesOfControls();
    const std::string failed = readSettings(
        ini, values,
        [&](const std::string& name) {
            return findFabricPicture(home, name).has_value() &&
                   ComboBox1->findData(QByteArray::fromStdString(name)) >= 0;
        },
        localeDecimalSeparator());
    // What was read before a bad value stays applied, as the reading stops there.
    if (const int at = ComboBox1->findData(QByteArray::fromStdString(values.fabricname)); at >= 0)
        ComboBox1->setCurrentIndex(at);
    CheckBox4->setChecked(values.isfabric);
    Edit3->setText(QFile::decodeName(QByteArray::fromStdString(values.editor)));
    Panel3->setColour(values.fabriccolor);
    Panel2->setColour(values.backcolor);
    Panel1->setColour(values.sequincolor);
    Edit1->setText(QString::fromStdString(values.size1));
    Edit2->setText(QString::fromStdString(values.size2));
    if (!failed.empty())
        messages_.error(this, QString::fromStdString(failed));
}

SettingsValues TForm4::valuesOfControls() const
{
    SettingsValues values;
    values.editor = pathBytes(Edit3->text());
    values.isfabric = CheckBox4->isChecked();
    values.fabricname = ComboBox1->currentData().toByteArray().toStdString();
    values.fabriccolor = Panel3->colour();
    values.backcolor = Panel2->colour();
    values.sequincolor = Panel1->colour();
    values.size1 = Edit1->text().toStdString();
    values.size2 = Edit2->text().toStdString();
    return values;
}

bool TForm4::saveSettings()
{
    SettingsValues values = valuesOfControls();
    const std::string failed =
        changeConfigFile(config_, [&](IniFile& ini) { writeSettings(ini, values); });
    if (!failed.empty())
        messages_.error(this, QString::fromStdString(failed));
    return failed.empty();
}

void TForm4::chooseEditor()
{
    QFileDialog dialog(this, tr("版带编辑软件"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({tr("程序或应用程序 (*)")});
    dialog.setProxyModel(new EditorFileFilter(&dialog));
    const QFileInfo current(Edit3->text());
    dialog.setDirectory(current.absoluteDir().exists() && !Edit3->text().isEmpty()
                            ? current.absolutePath()
                            : QStringLiteral("/usr/bin"));
    QList<QUrl> places = {QUrl::fromLocalFile(QStringLiteral("/usr/bin")),
                          QUrl::fromLocalFile(QStringLiteral("/usr/share/applications"))};
    const QString userApplications =
        QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    if (QFileInfo(userApplications).isDir())
        places << QUrl::fromLocalFile(userApplications);
    places << QUrl::fromLocalFile(QDir::homePath());
    dialog.setSidebarUrls(places);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        Edit3->setText(dialog.selectedFiles().constFirst());
}

void TForm4::testEditor()
{
    if (isRunnableEditor(pathBytes(Edit3->text())))
        messages_.information(this, tr("路径正确"));
}

void TForm4::report(const IntegrationOutcome& outcome)
{
    for (const std::string& e : outcome.errors)
        messages_.error(this, QString::fromStdString(e));
    for (const std::string& n : outcome.notices)
        messages_.information(this, QString::fromStdString(n));
}

void TForm4::associate()
{
    IntegrationOutcome outcome;
    {
        WaitCursor busy;
        outcome = associateDstFiles(desktopIntegrationSetup(programHome_, desktopProgram_));
    }
    report(outcome);
}

void TForm4::registerThumbnailer(bool install)
{
    IntegrationOutcome outcome;
    {
        WaitCursor busy;
        const IntegrationSetup setup = desktopIntegrationSetup(programHome_, desktopProgram_);
        outcome = install ? registerDstThumbnailer(setup) : unregisterDstThumbnailer(setup);
    }
    report(outcome);
}

void TForm4::registerSibling(int plugin, bool install)
{
    IntegrationOutcome outcome;
    {
        WaitCursor busy;
        outcome = registerSiblingPlugin(desktopIntegrationSetup(programHome_, desktopProgram_),
                                        static_cast<SiblingPlugin>(plugin), install);
    }
    report(outcome);
}

} // namespace loomscope
