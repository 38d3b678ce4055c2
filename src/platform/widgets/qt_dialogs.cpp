#include "qt_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QFontInfo>
#include <QIdentityProxyModel>
#include <QMessageBox>

namespace {

// The columns of Qt's own file dialog in Chinese. Qt's Chinese translations
// leave out the type names ("Folder", "txt File"), and sizes and dates
// follow the system's locale, English on many machines.
class ChineseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() < 1 || index.column() > 3)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        switch (index.column()) {
        case 1:
            return info.isDir() ? QString() : chinese.formattedDataSize(info.size());
        case 2:
            return typeName(info);
        default:
            return chinese.toString(info.lastModified(), QLocale::ShortFormat);
        }
    }

private:
    static QString typeName(const QFileInfo& info) {
        if (info.isRoot())
            return QStringLiteral("驱动器");
        if (info.isDir())
            return QStringLiteral("文件夹");
        return info.suffix().isEmpty() ? QStringLiteral("文件") : info.suffix() + QStringLiteral(" 文件");
    }
};

QString runFileDialog(QWidget* parent, const QString& title, const QString& start, const QString& filter,
                      QFileDialog::AcceptMode mode) {
    // Qt's own dialog, so that it is Chinese whatever the desktop's language.
    QFileDialog dialog(parent, title, start, filter);
    dialog.setObjectName(QStringLiteral("文件对话框"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setProxyModel(new ChineseFileColumns(&dialog));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

// The font as the screen shows it, named by an installed family: the font
// dialog knows nothing of the substitutions behind "黑体" and "宋体" and would
// start on some unrelated family.
QFont asInstalled(const QFont& font) {
    const QFontInfo shown(font);
    QFont installed(font);
    installed.setFamilies({shown.family()});
    installed.setStyleName(shown.styleName());
    if (font.pointSizeF() <= 0)
        installed.setPointSizeF(shown.pointSizeF());
    return installed;
}

QMessageBox::Icon toQt(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Dialogs::Answer QtDialogs::showMessage(QWidget* parent, const QString& text, const QString& title, Icon icon,
                                       Buttons buttons) {
    QMessageBox box(toQt(icon), title, text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("消息框"));
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        break;
    }
    // Closing the box by its frame counts as the safe answer.
    return buttons == Buttons::Ok ? Answer::Ok : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
}

void QtDialogs::showNotice(QWidget* parent, const QString& text, const QString& title,
                           std::function<void()> closed) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("消息框"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    // Closing the box by its frame counts as OK, as it does for a modal box.
    QObject::connect(box, &QMessageBox::finished, box, [closed = std::move(closed)] {
        if (closed)
            closed();
    });
    box->show();
}

QString QtDialogs::openFile(QWidget* parent, const QString& title, const QString& filter) {
    return runFileDialog(parent, title, QString(), filter, QFileDialog::AcceptOpen);
}

QString QtDialogs::saveFile(QWidget* parent, const QString& title, const QString& suggested,
                            const QString& filter) {
    return runFileDialog(parent, title, suggested, filter, QFileDialog::AcceptSave);
}

std::optional<QFont> QtDialogs::chooseFont(QWidget* parent, const QFont& initial) {
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, asInstalled(initial), parent);
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<QColor> QtDialogs::chooseColor(QWidget* parent, const QColor& initial, const QString& title) {
    const QColor colour = QColorDialog::getColor(initial, parent, title);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}
