#pragma once
// Hands a file, folder or address to the desktop's associated program (the
// stand-in for the shell's "open" and "explore" verbs). The opener is
// replaceable so tests can record what would be opened instead of starting
// programs.

#include <functional>

class QString;
class QUrl;

namespace DesktopOpener {

using Opener = std::function<bool(const QUrl&)>;

// Opens `url` through the installed opener (QDesktopServices by default).
// Returns false when nothing could take it.
bool open(const QUrl& url);

// Installs `opener`; an empty function restores the desktop's own.
void setOpener(Opener opener);

// The URL a shell would open for `text`: an address with a scheme
// ("https:", "mailto:", "file:") stays as it is; anything else is a local
// path, made absolute. Empty for an empty text.
QUrl urlFor(const QString& text);

// Installs an opener for its lifetime and restores the previous one after.
class Scoped {
public:
    explicit Scoped(Opener opener);
    ~Scoped();
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

private:
    Opener previous_;
};

} // namespace DesktopOpener
