#include "external_tools_window.h"

#include "core/app_dir.h"
#include "core/endpoints.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/services.h"
#include "settings/config_file.h"
#include "ui/fixed_size.h"
#include "ui/place.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextLayout>
#include <QUrl>

namespace {

const QString kGap = QStringLiteral("      ");

QString explanationText() {
    return QStringLiteral("    未检测到系统中的MT4软件，默认检测路径为：“C:\\Program Files\\MetaTrader "
                          "4\\terminal.exe”，如果你安装在其他目录，请指定。如果没有MT4，请点击") +
           kGap + QStringLiteral("安装。");
}

// Where the gap in the explanation falls once the label has wrapped its
// text in the font it has: the link lies over it, whatever the font's widths.
QRect gapRect(const QLabel* label, int linkWidth) {
    const QString text = label->text();
    const int gap = static_cast<int>(text.lastIndexOf(kGap));
    QTextLayout layout(text, label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    QRect rect;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->width());
        line.setPosition({0, y});
        y += line.height();
        if (gap >= line.textStart() && gap < line.textStart() + line.textLength()) {
            const qreal from = line.cursorToX(gap);
            const qreal to = line.cursorToX(gap + static_cast<int>(kGap.size()));
            const int x = label->x() + static_cast<int>((from + to) / 2) - linkWidth / 2;
            rect =
                QRect(x, label->y() + static_cast<int>(line.y()), linkWidth, static_cast<int>(line.height()));
        }
    }
    layout.endLayout();
    return rect;
}

} // namespace

ExternalToolsWindow::ExternalToolsWindow(Services& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), services_(services) {
    setObjectName(QStringLiteral("外部工具设置窗口"));
    setWindowTitle(QStringLiteral("外部工具设置"));
    makeFixedSize(this, {515, 145});
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);

    // The explanation leaves a gap where the download link lies over it. The
    // design's 24 pixels hold its two lines only in Windows' smaller font.
    auto* explanation = place<QLabel>(this, QStringLiteral("标签1"), {15, 6, 478, 36}, explanationText());
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const QString downloadUrl = endpoints::value(endpoints::key::mt4DownloadUrl);
    auto* download =
        place<QPushButton>(this, QStringLiteral("超级链接框1"), {423, 20, 30, 14}, QStringLiteral("下载"));
    download->setFlat(true);
    download->setCursor(Qt::PointingHandCursor);
    download->setToolTip(downloadUrl);
    download->setStyleSheet(
        QStringLiteral("QPushButton { color: #0645ad; text-decoration: underline; border: none;"
                       " background: transparent; padding: 0; }"));
    download->setEnabled(!downloadUrl.isEmpty());
    download->setGeometry(gapRect(explanation, download->sizeHint().width()));
    connect(download, &QPushButton::clicked, this,
            [this, downloadUrl] { services_.launcher->openUrl(QUrl(downloadUrl)); });

    place<QLabel>(this, QStringLiteral("标签2"), {13, 43, 80, 20}, QStringLiteral("MT4安装路径："));
    path_ = place<QLineEdit>(this, QStringLiteral("编辑框_MT4安装目录"), {93, 43, 355, 20});
    auto* browseButton = place<QPushButton>(this, QStringLiteral("按钮_选择MT4安装目录"), {448, 43, 50, 20},
                                            QStringLiteral("选择"));
    auto* ok =
        place<QPushButton>(this, QStringLiteral("按钮_确定"), {214, 84, 90, 24}, QStringLiteral("确定"));
    ok->setDefault(true);
    connect(browseButton, &QPushButton::clicked, this, &ExternalToolsWindow::browse);
    connect(ok, &QPushButton::clicked, this, &ExternalToolsWindow::save);

    // Read without the existence test: a missing file shows an empty path.
    path_->setText(settings::ConfigFile::program().value(settings::key::mt4Program));
}

void ExternalToolsWindow::browse() {
    // "通用对话框_选择MT4安装目录": no filter, no title. A cancelled dialog
    // leaves the box as it was: an empty name would only erase the path.
    const QString chosen = services_.dialogs->openFile(this, QString(), QString());
    if (!chosen.isEmpty())
        path_->setText(chosen);
}

void ExternalToolsWindow::save() {
    // Stored exactly as typed; the next launch tells whether it names the terminal.
    if (!settings::ConfigFile::program().write(settings::key::mt4Program, path_->text())) {
        services_.dialogs->message(this, QStringLiteral("系统配置文件出错"), QStringLiteral("友情提示："),
                                   Dialogs::Icon::Warning);
        return;
    }
    accept();
}
