#include "EditorFixture.h"

#include <QTest>

void EditorTest::type(const QString& text) {
    ed->mTxt->setFocus();
    QTest::keyClicks(ed->mTxt, text);
}

QByteArray EditorTest::docBytes(const QString& text, int boldChars) {
    TxEngine e;
    e.SetText(text);
    if (boldChars > 0) {
        e.SetSelStart(0);
        e.SetSelLength(boldChars);
        e.SetFontBold(true);
    }
    bool ok = false;
    const QByteArray bytes = e.SaveBytes(TxEngine::FmtDoc, 0, &ok);
    EXPECT_TRUE(ok) << e.LastError().toStdString();
    return bytes;
}
