// Builds a raw image file from a readable source. Source lines:
//   size N          the image has N bytes (first line that matters)
//   fill XX         every byte not set below holds XX
//   AAAA: XX XX ..  bytes from address AAAA on (hexadecimal)
// '#' starts a comment; blank lines are ignored.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

unsigned long Hex(const std::string& text, int line) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 16);
  if (text.empty() || *end != '\0') {
    std::cerr << "line " << line << ": not hexadecimal: " << text << "\n";
    std::exit(1);
  }
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: tq474-make-image SOURCE OUTPUT\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  std::vector<unsigned char> image;
  unsigned char fill = 0xFF;
  std::string raw;
  int lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    const std::string line = raw.substr(0, raw.find('#'));
    std::istringstream words(line);
    std::string first;
    if (!(words >> first)) continue;
    if (first == "size") {
      std::string n;
      words >> n;
      image.assign(std::strtoul(n.c_str(), nullptr, 10), fill);
    } else if (first == "fill") {
      std::string v;
      words >> v;
      fill = static_cast<unsigned char>(Hex(v, lineNo));
      image.assign(image.size(), fill);
    } else if (first.back() == ':') {
      unsigned long address = Hex(first.substr(0, first.size() - 1), lineNo);
      std::string byte;
      while (words >> byte) {
        if (address >= image.size()) {
          std::cerr << "line " << lineNo << ": address beyond the image\n";
          return 1;
        }
        image[address++] = static_cast<unsigned char>(Hex(byte, lineNo));
      }
    } else {
      std::cerr << "line " << lineNo << ": unknown line: " << raw << "\n";
      return 1;
    }
  }
  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(image.data()),
            static_cast<std::streamsize>(image.size()));
  return out ? 0 : 1;
}
