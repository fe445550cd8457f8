// Points a 64-bit Windows executable's load configuration entry at its `_load_config_used`
// symbol, as newer GNU linkers do by themselves: the entry's size is the one the structure gives
// in its first field. Run on the build machine after linking, before the symbols are stripped.
// Usage: set_load_configuration EXECUTABLE
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr char kSymbol[] = "_load_config_used";
constexpr std::size_t kLoadConfigEntry = 10;

class Image {
  public:
    explicit Image(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

    std::uint32_t U32(std::size_t at) const {
        Need(at, 4);
        return bytes_[at] | bytes_[at + 1] << 8 | bytes_[at + 2] << 16 | std::uint32_t{bytes_[at + 3]} << 24;
    }
    std::uint16_t U16(std::size_t at) const {
        Need(at, 2);
        return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    void SetU32(std::size_t at, std::uint32_t value) {
        Need(at, 4);
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
    std::string Text(std::size_t at, std::size_t most) const {
        Need(at, 1);
        std::string text;
        for (std::size_t i = at; i < bytes_.size() && i < at + most && bytes_[i]; ++i)
            text += static_cast<char>(bytes_[i]);
        return text;
    }
    const std::vector<unsigned char>& Bytes() const { return bytes_; }

  private:
    void Need(std::size_t at, std::size_t count) const {
        if (at + count > bytes_.size())
            throw std::runtime_error("truncated image");
    }
    std::vector<unsigned char> bytes_;
};

void SetLoadConfiguration(Image& image) {
    const std::size_t pe = image.U32(0x3c);
    if (image.U32(pe) != 0x00004550)
        throw std::runtime_error("not a PE image");
    const std::size_t coff = pe + 4;
    const std::size_t sectionCount = image.U16(coff + 2);
    const std::size_t symbols = image.U32(coff + 8);
    const std::size_t symbolCount = image.U32(coff + 12);
    const std::size_t optional = coff + 20;
    if (image.U16(optional) != 0x20b)
        throw std::runtime_error("not a 64-bit image");
    if (image.U32(optional + 108) <= kLoadConfigEntry)
        throw std::runtime_error("no room for a load configuration entry");
    const std::size_t sections = optional + image.U16(coff + 16);
    const std::size_t strings = symbols + symbolCount * 18;
    for (std::size_t i = 0; i < symbolCount; i += 1 + image.Bytes().at(symbols + i * 18 + 17)) {
        const std::size_t symbol = symbols + i * 18;
        const std::string name =
            image.U32(symbol) == 0 ? image.Text(strings + image.U32(symbol + 4), 256) : image.Text(symbol, 8);
        const auto section = static_cast<std::int16_t>(image.U16(symbol + 12));
        if (name != kSymbol || section < 1 || static_cast<std::size_t>(section) > sectionCount)
            continue;
        const std::size_t header = sections + (section - 1) * 40;
        const std::uint32_t offset = image.U32(symbol + 8);
        const std::uint32_t address = image.U32(header + 12) + offset;
        const std::uint32_t size = image.U32(image.U32(header + 20) + offset);
        image.SetU32(optional + 112 + kLoadConfigEntry * 8, address);
        image.SetU32(optional + 112 + kLoadConfigEntry * 8 + 4, size);
        return;
    }
    throw std::runtime_error(std::string("no symbol ") + kSymbol);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: set_load_configuration EXECUTABLE\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        Image image(std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {}));
        SetLoadConfiguration(image);
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.Bytes().data()),
                  static_cast<std::streamsize>(image.Bytes().size()));
        if (!out)
            throw std::runtime_error("cannot write the image");
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
