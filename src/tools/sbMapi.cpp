#include "sbMapi.h"

#include "Prompter.h"
#include "ToolRun.h"
#include "Usr.h"

namespace {
// xdg-email hands the message to the mail program and normally returns at
// once; a mail program that keeps it waiting is left running after this.
constexpr int kHandOverMs = 5000;
constexpr int kQueryMs = 5000;
const QString kFailure =
    QStringLiteral("OutLook Express が既定のﾒｰﾙﾊﾝﾄﾞﾗとして指定されているかﾁｪｯｸして下さい");

bool failed() {
    Prompter::instance().message(kFailure, Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return false;
}
} // namespace

namespace sbMapi {

QStringList ItemCaptions() {
    return {QStringLiteral("本文(Text) + 添付(pdf)"), QStringLiteral("本文(Text) + 添付(doc)"),
            QStringLiteral("本文(Text)")};
}

QString AttachmentName(const QString& selectedFile, int item) {
    QString name = selectedFile.mid(selectedFile.lastIndexOf(u'/') + 1);
    if (name.isEmpty())
        name = QStringLiteral("temp.doc");
    const qsizetype dot = name.lastIndexOf(u'.');
    if (item == 0)
        return (dot < 0 ? name + u'.' : name.left(dot + 1)) + QStringLiteral("pdf");
    return dot < 0 ? name + QStringLiteral(".doc") : name;
}

QString Subject(const QString& title) {
    qsizetype end = 0;
    for (int n = 0; n < kSubjectLength && end < title.size(); ++n)
        end += title.at(end).isHighSurrogate() && end + 1 < title.size() ? 2 : 1;
    return title.left(end);
}

QStringList Attachments(const QString& sFl) {
    if (!sFl.contains(u','))
        return sFl.isEmpty() ? QStringList() : QStringList{sFl};
    QStringList out;
    for (const QString& part : sFl.split(u','))
        if (!part.isEmpty())
            out << part;
    return out;
}

QStringList MailArguments(const QString& sCp, const QString& sTx, const QStringList& files) {
    QStringList args = {QStringLiteral("--utf8"), QStringLiteral("--subject"), sCp,
                        QStringLiteral("--body"), sTx};
    for (const QString& f : files)
        args << QStringLiteral("--attach") << f;
    return args;
}

bool Mail(const QString& sCp, const QString& sTx, const QString& sFl) {
    return Mail(sCp, sTx, Attachments(sFl));
}

QString MailProgram() {
    return ToolRun::Output(QStringLiteral("xdg-mime"),
                           {QStringLiteral("query"), QStringLiteral("default"),
                            QStringLiteral("x-scheme-handler/mailto")},
                           kQueryMs)
        .trimmed();
}

bool Mail(const QString& sCp, const QString& sTx, const QStringList& files) {
    // Without a mail program xdg-email falls back to a web browser, or a
    // text browser in the terminal, and reports nothing: the user is told
    // instead, and nothing is started.
    if (MailProgram().isEmpty())
        return failed();
    const ToolRun::Result r = ToolRun::RunAndWait(QStringLiteral("xdg-email"),
                                                  MailArguments(sCp, sTx, files), kHandOverMs);
    if (r.started && (!r.finished || r.exitCode == 0))
        return true;
    return failed();
}

bool MailItem(int item, const QString& selectedFile,
              const std::function<bool(const QString& path)>& saveCopy,
              const std::function<void(QString& sTx, QString& sCp)>& mailText) {
    if (item < 0 || item > 2)
        return false;
    QStringList attachments;
    if (item < 2) {
        const QString path = Usr::sWrkFd + AttachmentName(selectedFile, item);
        if (saveCopy(path))
            attachments << path;
    }
    QString body, title;
    mailText(body, title);
    return Mail(Subject(title), body, attachments);
}

} // namespace sbMapi
