#include "cad/board/board_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "cad/board/board_view.h"
#include "cad/board/model/dxf.h"

// The sample drawing lives in a static library's resources, which are only
// linked in when something refers to them.
static void initialiseBoardResources() {
    Q_INIT_RESOURCE(board);
}

namespace tendra::board {

namespace {

const QString kIdlePrompt = QStringLiteral("命令：");
const QString kSelectPrompt = QStringLiteral("选择对象：");

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

BoardWindow::BoardWindow(QWidget* parent) : QMainWindow(parent) {
    initialiseBoardResources();
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    resize(900, 650);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    view_ = new BoardView(central);
    view_->setObjectName("boardView");
    commandLine_ = new QLabel(central);
    commandLine_->setObjectName("commandLine");
    commandLine_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    commandLine_->setStyleSheet("QLabel { background: #1b2027; color: #e6e6e6; padding: 4px; }");
    commandLine_->setTextFormat(Qt::PlainText);
    layout->addWidget(view_, 1);
    layout->addWidget(commandLine_);
    setCentralWidget(central);

    coordinates_ = new QLabel(this);
    coordinates_->setObjectName("coordinates");
    coordinates_->setMinimumWidth(220);
    statusBar()->addPermanentWidget(coordinates_);

    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    openAction_ = file->addAction(QStringLiteral("打开…"), this, &BoardWindow::openWithDialog);
    openAction_->setObjectName("openAction");
    openAction_->setShortcut(QKeySequence::Open);
    saveAsAction_ =
        file->addAction(QStringLiteral("另存为…"), this, &BoardWindow::saveAsWithDialog);
    saveAsAction_->setObjectName("saveAsAction");
    saveAsAction_->setShortcut(QKeySequence::SaveAs);
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("视图(&V)"));
    zoomExtentsAction_ =
        viewMenu->addAction(QStringLiteral("缩放全部"), this, &BoardWindow::zoomExtents);
    zoomExtentsAction_->setObjectName("zoomExtentsAction");

    connect(view_, &BoardView::cursorMoved, this, &BoardWindow::showCoordinates);
    connect(view_, &BoardView::pointPicked, this, [this](QPointF at) {
        if (pending_ && pending_->kind == PendingRequest::Kind::Point &&
            pending_->outcome == PendingRequest::Outcome::Waiting) {
            pending_->point = {at.x(), at.y(), 0};
            pending_->finish(PendingRequest::Outcome::Answered);
        }
    });
    connect(view_, &BoardView::pointInputEnded, this, [this] {
        if (pending_ && pending_->kind == PendingRequest::Kind::Point) {
            pending_->finish(PendingRequest::Outcome::Ended);
        }
    });
    connect(view_, &BoardView::entitiesPicked, this, [this](const std::vector<EntityId>& picked) {
        if (!pending_ || pending_->kind != PendingRequest::Kind::Selection ||
            pending_->outcome != PendingRequest::Outcome::Waiting) {
            return;
        }
        std::vector<EntityId>& selection = pending_->selection;
        for (EntityId id : picked) {
            if (std::find(selection.begin(), selection.end(), id) == selection.end()) {
                selection.push_back(id);
            }
        }
        view_->setHighlighted(selection);
        statusBar()->showMessage(
            QStringLiteral("找到 %1 个，总计 %2 个").arg(picked.size()).arg(selection.size()));
    });
    connect(view_, &BoardView::selectionCompleted, this, [this] {
        if (pending_ && pending_->kind == PendingRequest::Kind::Selection) {
            pending_->finish(PendingRequest::Outcome::Answered);
        }
    });
    connect(view_, &BoardView::selectionCancelled, this, [this] {
        if (pending_ && pending_->kind == PendingRequest::Kind::Selection &&
            pending_->outcome == PendingRequest::Outcome::Waiting) {
            pending_->selection.clear();
            pending_->finish(PendingRequest::Outcome::Cancelled);
        }
    });

    setPrompt(kIdlePrompt);
    updateTitle();
    view_->setFocus();
}

BoardWindow::~BoardWindow() {
    failPending();
}

void BoardWindow::failPending() {
    if (pending_) {
        pending_->finish(PendingRequest::Outcome::Failed);
        pending_ = nullptr;
    }
}

// --- Drawing and files -------------------------------------------------------

void BoardWindow::setDrawing(Drawing drawing, const QString& name, const QString& path) {
    failPending();
    view_->setMode(BoardView::Mode::Idle);
    setPrompt(kIdlePrompt);
    drawing_ = std::make_shared<Drawing>(std::move(drawing));
    name_ = name;
    path_ = path;
    view_->setDrawing(drawing_);
    updateTitle();
    // Said once, so that a drawing that shows less than the file holds never does so silently.
    const std::string skipped = skippedKindsText(drawing_->skipped());
    if (!skipped.empty()) {
        statusBar()->showMessage(QString::fromStdString(skipped));
    }
}

bool BoardWindow::openFile(const QString& path, QString* error) {
    const QFileInfo info(path);
    std::unique_ptr<QProgressDialog> progress;
    if (info.size() > kProgressThresholdBytes) {
        progress = std::make_unique<QProgressDialog>(
            QStringLiteral("正在读取 %1…").arg(info.fileName()), QString(), 0, 1000, this);
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->setValue(0);
    }
    LoadProgress report;
    if (progress) {
        report = [&progress](std::uint64_t read, std::uint64_t total) {
            if (total > 0) {
                progress->setValue(int(std::min<std::uint64_t>(1000, read * 1000 / total)));
            }
        };
    }
    loading_ = true;
    try {
        Drawing loaded = loadDxfFile(QFile::encodeName(path).toStdString(), report);
        loading_ = false;
        setDrawing(std::move(loaded), info.fileName(), info.absoluteFilePath());
        return true;
    } catch (const LoadError& failure) {
        loading_ = false;
        if (error) {
            *error = fromUtf8(failure.userText());
        }
    } catch (const std::bad_alloc&) {
        loading_ = false;
        if (error) {
            *error = QString::fromUtf8(kLoadErrorPrefix) + QStringLiteral("内存不足");
        }
    }
    return false;
}

bool BoardWindow::openSample(QString* error) {
    QFile sample(QString::fromUtf8(kSampleResource));
    if (!sample.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = QString::fromUtf8(kLoadErrorPrefix) + sample.errorString();
        }
        return false;
    }
    const QByteArray bytes = sample.readAll();
    try {
        setDrawing(loadDxf(std::string_view(bytes.constData(), std::size_t(bytes.size()))),
                   QString::fromUtf8(kSampleName));
        return true;
    } catch (const LoadError& failure) {
        if (error) {
            *error = fromUtf8(failure.userText());
        }
    }
    return false;
}

bool BoardWindow::saveFile(const QString& path, QString* error) {
    if (!drawing_) {
        if (error) {
            *error = QStringLiteral("没有打开的图形");
        }
        return false;
    }
    try {
        saveDxfFile(*drawing_, QFile::encodeName(path).toStdString());
    } catch (const SaveError& failure) {
        if (error) {
            *error = fromUtf8(failure.what());
        }
        return false;
    }
    const QFileInfo info(path);
    name_ = info.fileName();
    path_ = info.absoluteFilePath();
    updateTitle();
    return true;
}

void BoardWindow::openWithDialog() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("打开"), path_.isEmpty() ? QDir::homePath() : QFileInfo(path_).path(),
        QStringLiteral("DXF 图形 (*.dxf *.DXF);;所有文件 (*)"));
    if (!path.isEmpty()) {
        openAndReport(path);
    }
}

void BoardWindow::openAndReport(const QString& path) {
    QString error;
    if (!openFile(path, &error)) {
        QMessageBox::critical(this, QString::fromUtf8(kBoardTitle), error);
    }
}

void BoardWindow::saveAsWithDialog() {
    if (!drawing_) {
        return;
    }
    const QString suggested =
        path_.isEmpty() ? QDir::home().filePath(name_.isEmpty() ? "drawing.dxf" : name_) : path_;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("另存为"), suggested,
                                                QStringLiteral("DXF 图形 (*.dxf)"));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".dxf");
    }
    QString error;
    if (!saveFile(path, &error)) {
        QMessageBox::critical(this, QString::fromUtf8(kBoardTitle),
                              QStringLiteral("无法保存图形文件：") + error);
    }
}

QString droppedDxfFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) {
        return {};
    }
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() &&
            url.toLocalFile().endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive)) {
            return url.toLocalFile();
        }
    }
    return {};
}

void BoardWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedDxfFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void BoardWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedDxfFile(event->mimeData());
    if (path.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    openAndReport(path);
}

// --- View and prompt ---------------------------------------------------------

void BoardWindow::zoomExtents() {
    view_->zoomExtents();
}

void BoardWindow::drawingChanged() {
    view_->update();
}

QString BoardWindow::prompt() const {
    return commandLine_->text();
}

void BoardWindow::setPrompt(const QString& text) {
    commandLine_->setText(text);
}

void BoardWindow::showCoordinates(QPointF at) {
    coordinates_->setText(QStringLiteral("%1, %2").arg(at.x(), 0, 'f', 4).arg(at.y(), 0, 'f', 4));
}

void BoardWindow::updateTitle() {
    QString title = QString::fromUtf8(kBoardTitle);
    if (drawing_) {
        title += QStringLiteral(" - [%1]").arg(name_);
    }
    setWindowTitle(title);
}

void BoardWindow::closeEvent(QCloseEvent* event) {
    if (loading_) {
        event->ignore();
        return;
    }
    closed_ = true;
    failPending();
    event->accept();
}

// --- Requests ------------------------------------------------------------------

void BoardWindow::beginRequest(PendingRequest& request, const QString& prompt) {
    if (closed_) {
        throw cad::CadError(kDisconnected, "绘图板已关闭");
    }
    if (pending_) {
        throw cad::CadError(kCallRejected, "绘图板正在等待输入");
    }
    pending_ = &request;
    statusBar()->clearMessage();
    if (request.kind == PendingRequest::Kind::Point) {
        view_->setMode(BoardView::Mode::Point);
        setPrompt(prompt);
    } else {
        view_->setMode(BoardView::Mode::Selection);
        setPrompt(prompt.isEmpty() ? kSelectPrompt : prompt);
    }
    raise();
    activateWindow();
    view_->setFocus(Qt::OtherFocusReason);
}

void BoardWindow::endRequest(PendingRequest& request) {
    if (pending_ == &request) {
        pending_ = nullptr;
    }
    if (!pending_) {
        view_->setMode(BoardView::Mode::Idle);
        view_->setHighlighted({});
        setPrompt(kIdlePrompt);
        statusBar()->clearMessage();
    }
}

}  // namespace tendra::board
