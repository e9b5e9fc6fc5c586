// A stand-in for the tool family's programs in tests. It records its
// arguments, and when the first one is an editor's parameter file it keeps
// a copy of the record as it came ("<file>.in"), draws a bitmap of the
// requested size (64 x 48 when none), writes the bitmap's path into the
// result field, sets the flags and exits.
//
// Environment: FOLIUM_STANDIN_LOG names a file that gets one line per run,
// each argument ended by a NUL; FOLIUM_STANDIN_DELAY_MS makes it wait
// before answering; FOLIUM_STANDIN_FAIL leaves the record untouched.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

void putLe(std::vector<char>& b, size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
        b[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

int32_t getLe32(const std::vector<char>& b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(uint8_t(b[at + size_t(i)])) << (8 * i);
    return int32_t(v);
}

bool writeBmp(const std::string& path, int w, int h) {
    const int row = (w * 3 + 3) / 4 * 4;
    std::vector<char> b(54 + size_t(row) * size_t(h), 0);
    b[0] = 'B';
    b[1] = 'M';
    putLe(b, 2, uint32_t(b.size()), 4);
    putLe(b, 10, 54, 4);
    putLe(b, 14, 40, 4);
    putLe(b, 18, uint32_t(w), 4);
    putLe(b, 22, uint32_t(h), 4);
    putLe(b, 26, 1, 2);
    putLe(b, 28, 24, 2);
    putLe(b, 38, 3780, 4);
    putLe(b, 42, 3780, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t p = 54 + size_t(y) * size_t(row) + size_t(x) * 3;
            b[p] = char(0xC0);                // blue
            b[p + 1] = char(x * 255 / w);     // green
            b[p + 2] = char(0x40 + y % 0x80); // red
        }
    std::ofstream out(path, std::ios::binary);
    out.write(b.data(), std::streamsize(b.size()));
    return bool(out);
}

} // namespace

int main(int argc, char** argv) {
    if (const char* log = std::getenv("FOLIUM_STANDIN_LOG")) {
        std::ofstream out(log, std::ios::binary | std::ios::app);
        for (int i = 1; i < argc; ++i)
            out << argv[i] << '\0';
        out << '\n';
    }
    if (const char* delay = std::getenv("FOLIUM_STANDIN_DELAY_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(delay)));
    if (argc < 2)
        return 0;
    const std::string param = argv[1];
    const size_t slash = param.find_last_of('/');
    const std::string name = slash == std::string::npos ? param : param.substr(slash + 1);
    if (name.size() < 5 || name.substr(name.size() - 5) != ".pdat")
        return 0;
    std::vector<char> rec;
    {
        std::ifstream in(param, std::ios::binary);
        rec.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    {
        std::ofstream copy(param + ".in", std::ios::binary);
        copy.write(rec.data(), std::streamsize(rec.size()));
    }
    const bool image = name.rfind("PC_", 0) == 0;
    if (rec.size() != (image ? 532u : 522u))
        return 2;
    if (std::getenv("FOLIUM_STANDIN_FAIL"))
        return 1;
    int w = image ? getLe32(rec, 520) : 0;
    int h = image ? getLe32(rec, 524) : 0;
    if (w <= 0 || h <= 0 || w > 4000 || h > 4000) {
        w = 64;
        h = 48;
    }
    const std::string folder = slash == std::string::npos ? "." : param.substr(0, slash);
    const std::string result = folder + "/" + name.substr(0, 2) + " result.bmp";
    if (!writeBmp(result, w, h) || result.size() > 255)
        return 3;
    for (size_t i = 0; i < 255; ++i)
        rec[265 + i] = i < result.size() ? result[i] : ' ';
    if (image) {
        putLe(rec, 528, 0xFFFF, 2); // bGf
        putLe(rec, 530, 0xFFFF, 2); // bOk
    } else {
        putLe(rec, 520, 0xFFFF, 2);
    }
    std::ofstream out(param, std::ios::binary | std::ios::trunc);
    out.write(rec.data(), std::streamsize(rec.size()));
    return out ? 0 : 4;
}
