#pragma once
// sbMapi: mailing the document. The mail items of the main window put the
// document's text in the body and, for two of them, a copy of the document
// (PDF or word-processor file, written into the work folder) as an
// attachment; the desktop's mail hand-over (xdg-email) shows the composed
// message in the user's mail program, for the user to complete and send.

#include <QString>
#include <QStringList>

#include <functional>

namespace sbMapi {

inline constexpr int kSubjectLength = 25;

// The mail menu's items: 0 "本文(Text) + 添付(pdf)", 1 "本文(Text) + 添付(doc)",
// 2 "本文(Text)".
QStringList ItemCaptions();

// The attachment's file name for item 0 or 1: the selected file's name
// ("temp.doc" when none is selected); item 0 with the extension "pdf"; a
// name without extension gets ".pdf" (item 0) or ".doc" (item 1).
QString AttachmentName(const QString& selectedFile, int item);

// The title cut to its first 25 characters (whole characters, never half
// of a surrogate pair).
QString Subject(const QString& title);

// The paths of sFl: several separated by ",", empty parts left out.
QStringList Attachments(const QString& sFl);

// The arguments xdg-email gets for subject, body and attachments.
QStringList MailArguments(const QString& sCp, const QString& sTx, const QStringList& files);

// The desktop file of the user's default mail program (the handler of
// mailto: links), empty when none is set up.
QString MailProgram();

// Hands the mail over: subject sCp, body sTx, attachment paths sFl (empty,
// one path, or several separated by ","). Without a default mail program,
// or when the hand-over fails, tells the user to check the default mail
// program and returns false.
bool Mail(const QString& sCp, const QString& sTx, const QString& sFl);
// The same with the attachment paths as a list (a path may hold ",").
bool Mail(const QString& sCp, const QString& sTx, const QStringList& files);

// Menu item `item`: for items 0 and 1 `saveCopy` writes the document to the
// work folder's attachment path (the editor's own file name and modified
// state stay as they are); a copy that cannot be written is not attached.
// `mailText` gives the body and the title. Then Mail.
bool MailItem(int item, const QString& selectedFile,
              const std::function<bool(const QString& path)>& saveCopy,
              const std::function<void(QString& sTx, QString& sCp)>& mailText);

} // namespace sbMapi
