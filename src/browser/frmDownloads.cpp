#include "browser/frmDownloads.h"

#include "browser/DownloadText.h"
#include "services/DesktopOpener.h"
#include "services/UserDialogs.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

frmDownloads::frmDownloads(DesktopOpener *opener, UserDialogs *dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_opener(opener)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmDownloads"));
    setWindowTitle(QLatin1String(Caption));
    resize(520, 300);
    auto *outer = new QVBoxLayout(this);
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto *inner = new QWidget(scroll);
    m_list = new QVBoxLayout(inner);
    m_list->addStretch();
    scroll->setWidget(inner);
    outer->addWidget(scroll);
}

void frmDownloads::Add(Download *download)
{
    auto *row = new Row;
    row->download = download;
    row->clock.start();
    row->box = new QWidget(this);
    row->box->setObjectName(QStringLiteral("download"));
    auto *layout = new QVBoxLayout(row->box);
    layout->setContentsMargins(4, 4, 4, 4);
    row->lblName = new QLabel(QFileInfo(download->Path()).fileName(), row->box);
    row->lblName->setObjectName(QStringLiteral("lblName"));
    row->lblName->setToolTip(download->Path());
    QFont bold = row->lblName->font();
    bold.setBold(true);
    row->lblName->setFont(bold);
    row->progress = new QProgressBar(row->box);
    row->progress->setObjectName(QStringLiteral("progress"));
    row->progress->setRange(0, 1000);
    row->progress->setTextVisible(false);
    row->lblDetail = new QLabel(row->box);
    row->lblDetail->setObjectName(QStringLiteral("lblDetail"));
    auto *buttons = new QHBoxLayout;
    row->cmdCancel = new QPushButton(QStringLiteral("Cancel"), row->box);
    row->cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    row->cmdOpen = new QPushButton(QStringLiteral("Open"), row->box);
    row->cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
    row->cmdOpenFolder = new QPushButton(QStringLiteral("Open Folder"), row->box);
    row->cmdOpenFolder->setObjectName(QStringLiteral("cmdOpenFolder"));
    buttons->addWidget(row->cmdCancel);
    buttons->addWidget(row->cmdOpen);
    buttons->addWidget(row->cmdOpenFolder);
    buttons->addStretch();
    layout->addWidget(row->lblName);
    layout->addWidget(row->progress);
    layout->addWidget(row->lblDetail);
    layout->addLayout(buttons);
    // The newest on top.
    m_list->insertWidget(0, row->box);
    m_rows.prepend(row);

    connect(row->cmdCancel, &QPushButton::clicked, this, [row] {
        if (row->download)
            row->download->Cancel();
    });
    const QString path = download->Path();
    connect(row->cmdOpen, &QPushButton::clicked, this, [this, path] { OpenPath(path); });
    connect(row->cmdOpenFolder, &QPushButton::clicked, this,
            [this, path] { OpenPath(QFileInfo(path).absolutePath()); });
    connect(download, &Download::Changed, this, [this, row] { Update(row); });
    Update(row);
}

frmDownloads::~frmDownloads()
{
    qDeleteAll(m_rows);
}

void frmDownloads::Update(Row *row)
{
    Download *d = row->download;
    if (!d)
        return;
    const Download::State state = d->CurrentState();
    const qint64 received = d->ReceivedBytes();
    // The speed over the last second or so, so that it neither jumps nor lags.
    const qint64 now = row->clock.elapsed();
    if (now - row->sampledAt >= 1000) {
        row->speed = double(received - row->sampledBytes) * 1000.0 / double(now - row->sampledAt);
        row->sampledBytes = received;
        row->sampledAt = now;
    }
    row->lblDetail->setText(
        DownloadLineText(state, received, d->TotalBytes(), row->speed, d->FailReason()));
    const int permille
        = state == Download::State::Completed ? 1000 : DownloadPermille(received, d->TotalBytes());
    if (permille < 0) {
        row->progress->setRange(0, 0); // moving, with no end known
    } else {
        row->progress->setRange(0, 1000);
        row->progress->setValue(permille);
    }
    const bool running = state == Download::State::Running;
    row->cmdCancel->setEnabled(running);
    row->cmdOpen->setEnabled(state == Download::State::Completed);
    row->progress->setVisible(running || state == Download::State::Completed);
    if (!running && !row->ended) {
        row->ended = true;
        emit DownloadEnded(d);
    }
}

int frmDownloads::RunningCount() const
{
    int n = 0;
    for (const Row *row : m_rows)
        if (row->download && row->download->Running())
            ++n;
    return n;
}

void frmDownloads::CancelAll()
{
    for (Row *row : std::as_const(m_rows))
        if (row->download && row->download->Running())
            row->download->Cancel();
}

void frmDownloads::OpenPath(const QString &path)
{
    if (m_opener && m_opener->Open(path))
        return;
    if (m_dialogs)
        m_dialogs->MessageBox(this, QStringLiteral("There is no program to open %1.").arg(path),
                              QLatin1String(Caption));
}
