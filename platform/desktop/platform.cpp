#include "platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <cstdio>

#include "document_file.h"
#include "file_io.h"
#include "text_convert.h"
#include "version.h"

namespace solvena::platform {

Platform::Platform(QStringList arguments) : arguments_(std::move(arguments)) {}

int Platform::Confirm(QWidget* parent, const QString& text) {
    AskedBox box{AskedBox::Kind::Confirm, QString::fromUtf16(kConfirmTitle), text, kCancel, true};
    if (!script_.empty()) {
        box.answer = script_.front();
        script_.pop_front();
    } else if (interactive_) {
        box.scripted = false;
        box.answer = ShowConfirm(parent, text);
    }
    asked_.push_back(box);
    return box.answer;
}

void Platform::Notify(QWidget* parent, const QString& text) {
    AskedBox box{AskedBox::Kind::Notice, QCoreApplication::applicationName(), text, kOk, true};
    if (!script_.empty()) {
        box.answer = script_.front();
        script_.pop_front();
    } else if (interactive_) {
        box.scripted = false;
        ShowNotice(parent, text);
    }
    asked_.push_back(box);
}

int Platform::ShowConfirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf16(kConfirmTitle), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return kYes;
        case QMessageBox::No:
            return kNo;
        default:
            return kCancel;
    }
}

void Platform::ShowNotice(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

void Platform::Beep() {
    ++beeps_;
    if (interactive_) {
        QApplication::beep();
    }
}

void Platform::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString Platform::CommandLine() const {
    return arguments_.mid(1).join(QLatin1Char(' '));
}

void Platform::Complain(const QString& line) const {
    const QByteArray bytes = (QStringLiteral("solvena: ") + line + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

Version Platform::ProgramVersion() {
    return {kVersionMajor, kVersionMinor, kVersionRevision};
}

bool Platform::FileExists(const QString& path) const {
    return files::IsNormalFile(LocalPath(path));
}

files::Result<QString> Platform::ReadDocument(const QString& path) const {
    files::Result<std::u16string> text = files::ReadDocumentFile(LocalPath(path));
    if (!text) {
        return text.error();
    }
    return ToQString(text.value());
}

files::Status Platform::WriteDocument(const QString& path, const QString& text) const {
    return files::WriteDocumentFile(LocalPath(path), ToU16View(text));
}

void Platform::ScriptAnswers(std::initializer_list<int> answers) {
    script_.insert(script_.end(), answers.begin(), answers.end());
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace solvena::platform
