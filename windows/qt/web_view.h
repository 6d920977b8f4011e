// WebBrowser1, the promotion windows' browser. Qt WebEngine comes with it
// from a module of its own, loaded when the first browser is made: a run
// that never shows a promotion window never loads the web engine.
#pragma once

#include <QString>
#include <QUrl>
#include <QtPlugin>

class QWidget;

namespace tendra {

// What the web view module offers.
class WebViewModule {
  public:
    virtual ~WebViewModule() = default;
    virtual QWidget* createView(QWidget* parent) = 0;
    virtual void navigate(QWidget* view, const QUrl& address) = 0;
};

// A browser for this parent: the web engine's view, or, where the module
// cannot be loaded, a plain placeholder that names the address it was sent to.
QWidget* createWebBrowser(QWidget* parent);
void navigateWebBrowser(QWidget* browser, const QUrl& address);

// Where the module is looked for: beside the program, then in the build tree.
// Tests point it elsewhere; an empty path returns to those places.
void setWebViewModuleForTests(const QString& path);

}  // namespace tendra

#define TendraWebViewModule_iid "org.corvane.Tendra.WebViewModule/1.0"
Q_DECLARE_INTERFACE(tendra::WebViewModule, TendraWebViewModule_iid)
