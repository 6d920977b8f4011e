// The web view module: Qt WebEngine behind the WebViewModule interface, so
// that only a program that makes a browser loads it.
#include <QObject>
#include <QWebEngineView>

#include "windows/qt/web_view.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

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

}  // namespace

class WebEngineViewModule : public QObject, public WebViewModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TendraWebViewModule_iid)
    Q_INTERFACES(tendra::WebViewModule)

  public:
    QWidget* createView(QWidget* parent) override {
        allowWebEngineAsRoot();
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
