// Documents in and out: the native format, plain text, Word through the
// model, inserting at the caret, and what is not supported yet.
#include "EngineTestUtil.h"

#include "TxDocument.h"

#include <gtest/gtest.h>

TEST(EngineIo, NativeRoundTripSmoke) {
    TxEngine a;
    a.SetText("abcd");
    a.SetSelStart(2);
    const int id = a.FieldInsert("link");
    a.SetFieldTarget(id, "TG_12");
    bool ok = false;
    const QByteArray bytes = a.SaveBytes(TxEngine::FmtNative, 0, &ok);
    ASSERT_TRUE(ok);
    TxEngine b;
    ASSERT_TRUE(b.LoadBytes(bytes, TxEngine::FmtNative)) << b.LastError().toStdString();
    EXPECT_EQ(b.Text(), "ablinkcd");
    EXPECT_EQ(b.FieldTarget(b.NextField(0, 0)), "TG_12");
}
