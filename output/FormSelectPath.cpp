#include "FormSelectPath.h"

#include "DialogKeys.h"
#include "DirListBox.h"
#include "FormSavePic.h"
#include "OwnedWindow.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <algorithm>

QString FormSelectPath::strSavePath;

FormSelectPath::FormSelectPath(GameState &form, QWidget *mainWindow)
    // No parent widget: a child window would be disabled with the main
    // window. It stands on the main window through the window system.
    : QWidget(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , m_form(form)
    , m_main(mainWindow)
    , m_hasMain(mainWindow != nullptr)
{
    setObjectName(QStringLiteral("formSelectPath"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("请选择存放路径"));
    setFixedSize(twipsToPx(kWidth), twipsToPx(kHeight));
    if (mainWindow)
        setWindowIcon(mainWindow->windowIcon());
    OwnedWindow::setOwner(this, mainWindow);

    Drive = new QComboBox(this);
    Drive->setObjectName(QStringLiteral("Drive"));
    Drive->setToolTip(QStringLiteral("选择盘符"));
    Drive->setGeometry(twipsRect(120, 120, 4455, 315));
    Drive->addItems(driveRoots());
    connect(Drive, &QComboBox::currentIndexChanged, this, &FormSelectPath::Drive_Change);

    Dir = new DirListBox(this);
    Dir->setObjectName(QStringLiteral("Dir"));
    Dir->setToolTip(QStringLiteral("选择目录"));
    Dir->setGeometry(twipsRect(120, 540, 4455, 3000));

    cmdEnter = addButton(QStringLiteral("cmdEnter"), QStringLiteral("确 定"), 1020);
    cmdCancel = addButton(QStringLiteral("cmdCancel"), QStringLiteral("取 消"), 2460);
    cmdEnter->setDefault(true);
    connect(cmdEnter, &QPushButton::clicked, this, &FormSelectPath::cmdEnter_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FormSelectPath::cmdCancel_Click);
}

QPushButton *FormSelectPath::addButton(const QString &name, const QString &caption, int left)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(twipsRect(left, 3720, 1215, 420));
    return button;
}

FormSelectPath *FormSelectPath::menuGame_SavePicture_Click(GameState &form, QWidget *mainWindow)
{
    auto *window = new FormSelectPath(form, mainWindow);
    window->Form_Load();
    window->show();
    window->activateWindow();
    return window;
}

QStringList FormSelectPath::driveRoots()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            roots << volume.rootPath();
    }
    roots << QDir::rootPath();
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end(), [](const QString &a, const QString &b) {
        const bool aRoot = a == QDir::rootPath();
        const bool bRoot = b == QDir::rootPath();
        return aRoot != bRoot ? aRoot : a < b;
    });
    return roots;
}

void FormSelectPath::Form_Load()
{
    OK = false;
    if (m_main) {
        m_main->setEnabled(false);
        const QRect main = m_main->frameGeometry();
        move(qRound(main.left() + main.width() / 2.0 - width() / 2.0),
            qRound(main.top() + main.height() / 2.0 - height() / 2.0));
    }

    QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (start.isEmpty() || !QDir(start).exists())
        start = QDir::homePath();
    const QString root = QStorageInfo(start).rootPath();
    int index = Drive->findText(root);
    if (index < 0 && !root.isEmpty()) {
        Drive->addItem(root);
        index = Drive->count() - 1;
    }
    if (index >= 0 && index != Drive->currentIndex())
        Drive->setCurrentIndex(index);
    else
        Drive_Change();
    Dir->setPath(start);
}

void FormSelectPath::Drive_Change()
{
    Dir->setPath(Drive->currentText());
}

void FormSelectPath::cmdEnter_Click()
{
    strSavePath = Dir->path();
    OK = true;
    close();
}

void FormSelectPath::cmdCancel_Click()
{
    close();
}

void FormSelectPath::keyPressEvent(QKeyEvent *event)
{
    if (!DialogKeys::press(event, this, cmdCancel, cmdEnter))
        QWidget::keyPressEvent(event);
}

void FormSelectPath::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (m_main)
        m_main->setEnabled(true);
    // A main window that has gone took its board with it.
    if (OK && (m_main || !m_hasMain)) {
        // The close hides the dialog only after this handler; the capture's
        // message must not stand in front of a dialog already answered.
        hide();
        FormSavePic::capture(m_form, m_main, strSavePath);
    }
}
