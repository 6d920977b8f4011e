// The built-in drawing board's top-level window: the view, a command line
// showing the current prompt, a status bar with the cursor's drawing
// coordinates, and the menu (open, save as, zoom extents). It owns the open
// drawing and answers the request it is waiting on.
#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "cad/board/board_request.h"
#include "cad/board/model/drawing.h"

class QAction;
class QLabel;
class QMimeData;

namespace tendra::board {

class BoardView;

// The title of the window with no drawing; with one it is followed by
// " - [name]".
inline constexpr const char* kBoardTitle = "Tendra 绘图板";
// The sample drawing, embedded so that it is found wherever Tendra runs.
inline constexpr const char* kSampleResource = ":/board/tendon.dxf";
inline constexpr const char* kSampleName = "tendon.dxf";
// Files larger than this show a progress bar while they load.
inline constexpr qint64 kProgressThresholdBytes = 4 * 1024 * 1024;

class BoardWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit BoardWindow(QWidget* parent = nullptr);
    ~BoardWindow() override;

    // The open drawing; null when none is open.
    const std::shared_ptr<Drawing>& drawing() const { return drawing_; }
    // Opens a DXF file. On failure the drawing open before stays open and
    // `error` receives the loader's message ("无法读取图形文件：…").
    bool openFile(const QString& path, QString* error = nullptr);
    // Opens the embedded sample drawing.
    bool openSample(QString* error = nullptr);
    // Shows this drawing under this name. A request waiting on the drawing
    // open before ends with a failure: its document is gone.
    void setDrawing(Drawing drawing, const QString& name, const QString& path = {});
    bool saveFile(const QString& path, QString* error = nullptr);

    // The text of the command line.
    QString prompt() const;
    BoardView* view() const { return view_; }
    // True from the moment the user closed the window; it is deleted soon after.
    bool isClosed() const { return closed_; }

    // The CAD surface changed the drawing: repaint.
    void drawingChanged();

    // The request loop's side (see board_requests.h). beginRequest throws
    // cad::CadError when the window is closed or already waits on a request.
    void beginRequest(PendingRequest& request, const QString& prompt);
    void endRequest(PendingRequest& request);
    bool isWaiting() const { return pending_ != nullptr; }

  public slots:
    void zoomExtents();
    // Asks for a DXF file and opens it, telling the user why when it cannot.
    void openWithDialog();
    void openAndReport(const QString& path);
    void saveAsWithDialog();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void failPending();
    void updateTitle();
    void setPrompt(const QString& text);
    void showCoordinates(QPointF at);

    std::shared_ptr<Drawing> drawing_;
    QString name_;
    QString path_;
    BoardView* view_;
    QLabel* commandLine_;
    QLabel* coordinates_;
    QAction* openAction_;
    QAction* saveAsAction_;
    QAction* zoomExtentsAction_;
    PendingRequest* pending_ = nullptr;
    bool closed_ = false;
    bool loading_ = false;
};

// The local .dxf file a drop carries, or empty.
QString droppedDxfFile(const QMimeData* mime);

}  // namespace tendra::board
