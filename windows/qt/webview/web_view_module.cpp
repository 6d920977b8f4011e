// The web view module: Qt WebEngine behind the WebViewModule interface, so
// that only a program that makes a browser loads it.
#include <QCoreApplication>
#include <QObject>
#include <QOpenGLContext>
#include <QWebEngineView>

#include "windows/qt/web_view.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

// Qt Gui's own setter of the context all OpenGL contexts share, exported but
// not in its public headers.
void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace tendra {

namespace {

// Chromium will not start as root with its sandbox on. Only this process's
// web views are affected, and a setting made by the user wins.
void allowWebEngineAsRoot() {
#if defined(Q_OS_UNIX)
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
#endif
}

// The web engine draws through OpenGL contexts that share with one global
// context. Qt makes that context at start-up only when asked to, and making
// it loads the system's OpenGL driver, which would double the program's
// start-up time and memory. So it is made here, the way Qt would have made it,
// when the first browser is.
void shareOpenGlContexts() {
    if (QOpenGLContext::globalShareContext()) {
        return;
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->create();
    qt_gl_set_global_share_context(context);
}

}  // namespace

class WebEngineViewModule : public QObject, public WebViewModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TendraWebViewModule_iid)
    Q_INTERFACES(tendra::WebViewModule)

  public:
    QWidget* createView(QWidget* parent) override {
        allowWebEngineAsRoot();
        shareOpenGlContexts();
        return new QWebEngineView(parent);
    }

    void navigate(QWidget* view, const QUrl& address) override {
        if (auto* web = qobject_cast<QWebEngineView*>(view)) {
            web->load(address);
        }
    }
};

}  // namespace tendra

#include "web_view_module.moc"
