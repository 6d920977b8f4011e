#include "windows/qt/web_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPluginLoader>

namespace tendra {

namespace {

QString moduleForTests;

// The module once loaded, or nullptr when it could not be: not tried again.
WebViewModule* loadModule() {
    static bool tried = false;
    static WebViewModule* module = nullptr;
    if (tried && moduleForTests.isEmpty()) {
        return module;
    }
    tried = true;
    QStringList candidates;
    if (!moduleForTests.isEmpty()) {
        candidates << moduleForTests;
    } else {
        const QString name = QStringLiteral(TENDRA_WEBVIEW_FILE);
        candidates << QDir(QCoreApplication::applicationDirPath()).filePath(name)
                   << QDir(QStringLiteral(TENDRA_WEBVIEW_BUILD_DIR)).filePath(name);
    }
    for (const QString& path : candidates) {
        QPluginLoader loader(path);
        if (auto* found = qobject_cast<WebViewModule*>(loader.instance())) {
            return module = found;
        }
    }
    return module = nullptr;
}

constexpr const char* kPlaceholderProperty = "tendraPlaceholder";

}  // namespace

QWidget* createWebBrowser(QWidget* parent) {
    if (WebViewModule* module = loadModule()) {
        return module->createView(parent);
    }
    auto* placeholder = new QLabel(parent);
    placeholder->setProperty(kPlaceholderProperty, true);
    placeholder->setAlignment(Qt::AlignCenter);
    placeholder->setWordWrap(true);
    placeholder->setAutoFillBackground(true);
    return placeholder;
}

void navigateWebBrowser(QWidget* browser, const QUrl& address) {
    if (browser->property(kPlaceholderProperty).toBool()) {
        static_cast<QLabel*>(browser)->setText(address.toString());
    } else if (WebViewModule* module = loadModule()) {
        module->navigate(browser, address);
    }
}

void setWebViewModuleForTests(const QString& path) {
    moduleForTests = path;
}

}  // namespace tendra
