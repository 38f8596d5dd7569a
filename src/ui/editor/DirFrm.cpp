#include "ui/editor/DirFrm.h"

#include "core/editor/EditorRecords.h"
#include "ui/common/Layout.h"
#include "ui/common/Twips.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>

namespace {

// How the drive list names a volume: "c:" on Windows, the mount point elsewhere.
QString driveLabel(const QString &rootPath)
{
#ifdef Q_OS_WIN
    return rootPath.left(2).toLower();
#else
    return rootPath;
#endif
}

QString rootOf(const QString &path)
{
    return QStorageInfo(path).rootPath();
}

QString entryText(const QString &path, bool isRoot)
{
    return isRoot ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName();
}

constexpr int DepthRole = Qt::UserRole + 1;

// Indents a folder by its depth where it is drawn: its text stays its name, which typing
// in the list then finds.
class DepthIndent : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(option.rect.left() + indent(option, index));
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(option, index), 0);
    }

private:
    static int indent(const QStyleOptionViewItem &option, const QModelIndex &index)
    {
        return index.data(DepthRole).toInt() * 2 * option.fontMetrics.horizontalAdvance(u' ');
    }
};
} // namespace

DirFrm::DirFrm(Target target, const QString &start, const QString &fallback, QWidget *recordEditor)
    : QWidget(recordEditor, Qt::Tool)
    , target_(target)
    , fallback_(fallback)
{
    setObjectName(QStringLiteral("DirFrm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Choose Emulator Directory"));
    setFixedSize(Twips(5715), Twips(3645));
    setFont(ArialFont(9.75));

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setFont(ArialFont(8.25));
    PlaceTwips(Drive1, 1500, 120, 2835, 330);

    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setFont(ArialFont(8.25));
    Dir1->setSelectionMode(QAbstractItemView::SingleSelection);
    Dir1->setItemDelegate(new DepthIndent(Dir1));
    PlaceTwips(Dir1, 60, 540, 2715, 2010);

    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setSelectionMode(QAbstractItemView::SingleSelection);
    PlaceTwips(File1, 2820, 540, 2835, 2010);

    FileC = new QLineEdit(this);
    FileC->setObjectName(QStringLiteral("FileC"));
    FileC->setReadOnly(true); // it shows the highlighted file; typing there chose nothing
    PlaceTwips(FileC, 900, 2640, 3915, 360);

    OK = new QPushButton(tr("&OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setFont(ArialFont(9.75, true));
    PlaceTwips(OK, 2700, 3120, 1395, 435);

    Cancel = new QPushButton(tr("&Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    PlaceTwips(Cancel, 4140, 3120, 1395, 435);

    Browse = new QPushButton(tr("&Browse..."), this);
    Browse->setObjectName(QStringLiteral("Browse"));
    PlaceTwips(Browse, 120, 3120, 1395, 435);

    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, Cancel);
    setTabOrder(Cancel, OK);
    setTabOrder(OK, File1);
    setTabOrder(File1, FileC);
    setTabOrder(FileC, Browse);

    connect(Drive1, &QComboBox::activated, this, &DirFrm::Drive1_Change);
    connect(Dir1, &QListWidget::itemDoubleClicked, this, &DirFrm::Dir1_DblClick);
    connect(File1, &QListWidget::itemDoubleClicked, this, &DirFrm::File1_DblClick);
    connect(OK, &QPushButton::clicked, this, &DirFrm::OK_Click);
    connect(Cancel, &QPushButton::clicked, this, &DirFrm::Cancel_Click);
    connect(Browse, &QPushButton::clicked, this, &DirFrm::Browse_Click);
    // Enter on a folder opens it, as a double-click does.
    Dir1->installEventFilter(this);

    Form_Load(start);
}

void DirFrm::Form_Load(const QString &start)
{
    fillDrives();
    // A directory that is gone or cannot be read: the program directory, else home.
    if (!openDirectory(start) && !openDirectory(fallback_))
        openDirectory(QDir::homePath());
}

bool DirFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Dir1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Dir1_DblClick(Dir1->currentItem());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DirFrm::fillDrives()
{
    Drive1->clear();
    QStringList roots;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &volume : volumes) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    }
    roots.sort();
    for (const QString &root : roots)
        Drive1->addItem(driveLabel(root), root);
    Drive1->setCurrentIndex(-1);
    driveIndex_ = -1;
}

void DirFrm::showDriveOf(const QString &directory)
{
    const QString root = rootOf(directory);
    int index = Drive1->findData(root);
    if (index < 0 && !root.isEmpty()) {
        Drive1->addItem(driveLabel(root), root);
        index = Drive1->count() - 1;
    }
    Drive1->setCurrentIndex(index);
    driveIndex_ = index;
}

void DirFrm::Drive1_Change(int index)
{
    const QString root = Drive1->itemData(index).toString();
    // A drive shows the program directory when it lies there, else its root.
    const QString target = rootOf(fallback_) == root ? fallback_ : root;
    if (!openDirectory(target)) {
        // No medium or unreadable: the drive list goes back, the lists stay.
        Drive1->setCurrentIndex(driveIndex_);
    }
}

bool DirFrm::openDirectory(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    const QDir dir(absolute);
    if (!info.isDir() || !dir.exists() || !dir.isReadable())
        return false;

    directory_ = absolute;
    showDriveOf(directory_);

    Dir1->clear();
    const QStringList ladder = DirectoryLadder(directory_);
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QListWidgetItem *opened = nullptr;
    for (int depth = 0; depth < ladder.size(); ++depth) {
        auto *item = new QListWidgetItem(openIcon, entryText(ladder.at(depth), depth == 0));
        item->setData(Qt::UserRole, ladder.at(depth));
        item->setData(DepthRole, depth);
        Dir1->addItem(item);
        opened = item;
    }
    const QStringList subdirectories = SubdirectoriesOf(directory_);
    for (const QString &subdirectory : subdirectories) {
        auto *item = new QListWidgetItem(closedIcon, entryText(subdirectory, false));
        item->setData(Qt::UserRole, subdirectory);
        item->setData(DepthRole, int(ladder.size()));
        Dir1->addItem(item);
    }
    Dir1->setCurrentItem(opened);
    Dir1_Change();
    return true;
}

void DirFrm::Dir1_DblClick(QListWidgetItem *item)
{
    if (item != nullptr)
        openDirectory(item->data(Qt::UserRole).toString());
}

void DirFrm::Dir1_Change()
{
    // The file list follows the directory; an earlier highlight no longer counts.
    File1->clear();
    File1->addItems(target_ == Program ? ProgramFilesIn(directory_) : FilesIn(directory_));
    File1->clearSelection();
    File1->setCurrentRow(-1);
}

QString DirFrm::selectedFile() const
{
    const QList<QListWidgetItem *> selected = File1->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void DirFrm::File1_DblClick()
{
    FileC->setText(selectedFile());
}

void DirFrm::setTarget(Target target)
{
    const bool listChanges = (target == Program) != (target_ == Program);
    target_ = target;
    if (listChanges)
        Dir1_Change();
}

void DirFrm::choose(Target target, const QString &file, const QString &directory)
{
    emit chosen(target, file, QDir::toNativeSeparators(directory));
    close();
}

void DirFrm::OK_Click()
{
    choose(target_, selectedFile(), directory_);
}

void DirFrm::Browse_Click()
{
    auto *dialog = new QFileDialog(this, windowTitle(), directory_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOptions(browseOptions);
    const Target target = target_; // what the dialog was opened for
    if (target == Program) {
        dialog->setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
    }
    connect(dialog, &QFileDialog::fileSelected, this, [this, target](const QString &path) {
        const QFileInfo picked(path);
        if (target == Program)
            choose(target, picked.fileName(), QDir::cleanPath(picked.absolutePath()));
        else
            choose(target, {}, QDir::cleanPath(picked.absoluteFilePath()));
    });
    dialog->open();
}

void DirFrm::Cancel_Click()
{
    close();
}
