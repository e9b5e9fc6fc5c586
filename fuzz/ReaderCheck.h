#pragma once
// The check the document readers' harnesses share: the input is read; a
// refusal must name its reason; a document read gives its text, and below
// the size bound must survive a write and a second read (`again`: false
// when what was written does not read back).

#include "Document.h"
#include "Text.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdlib>

template <class Read, class Again>
int checkReader(const QByteArray& bytes, std::size_t size, Read read, Again again) {
    QString error;
    const auto doc = read(bytes, &error);
    if (!doc) {
        if (error.isEmpty())
            abort();
        return 0;
    }
    (void)model::plainText(*doc);
    if (size < 65536 && !again(*doc, &error))
        abort();
    return 0;
}
