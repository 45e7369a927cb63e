// The built shared library exports exactly the two entry points, under its SONAME.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct DynamicInfo {
  std::set<std::string> defined;
  std::string soname;
};

template <typename T>
T read_at(const std::vector<char> &file, std::size_t offset) {
  T value;
  if (offset + sizeof(T) > file.size()) throw std::runtime_error("truncated ELF file");
  std::memcpy(&value, file.data() + offset, sizeof(T));
  return value;
}

std::string string_at(const std::vector<char> &file, std::size_t offset) {
  if (offset >= file.size()) throw std::runtime_error("string outside the file");
  return std::string(file.data() + offset);
}

DynamicInfo read_dynamic_info(const char *path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> file{std::istreambuf_iterator<char>(in), {}};
  const auto header = read_at<Elf64_Ehdr>(file, 0);
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
    throw std::runtime_error("not a 64-bit ELF file");

  DynamicInfo info;
  for (std::size_t i = 0; i < header.e_shnum; ++i) {
    const auto section = read_at<Elf64_Shdr>(file, header.e_shoff + i * header.e_shentsize);
    const auto strings =
        read_at<Elf64_Shdr>(file, header.e_shoff + section.sh_link * header.e_shentsize);
    if (section.sh_type == SHT_DYNSYM) {
      for (std::size_t s = 1; s < section.sh_size / sizeof(Elf64_Sym); ++s) {
        const auto sym = read_at<Elf64_Sym>(file, section.sh_offset + s * sizeof(Elf64_Sym));
        if (sym.st_shndx != SHN_UNDEF)
          info.defined.insert(string_at(file, strings.sh_offset + sym.st_name));
      }
    } else if (section.sh_type == SHT_DYNAMIC) {
      for (std::size_t d = 0; d < section.sh_size / sizeof(Elf64_Dyn); ++d) {
        const auto dyn = read_at<Elf64_Dyn>(file, section.sh_offset + d * sizeof(Elf64_Dyn));
        if (dyn.d_tag == DT_SONAME)
          info.soname = string_at(file, strings.sh_offset + dyn.d_un.d_val);
      }
    }
  }
  return info;
}

TEST(Exports, ExactlyTheTwoEntryPoints) {
  const DynamicInfo info = read_dynamic_info(KORDEL_LIBRARY_PATH);
  EXPECT_EQ(info.defined, (std::set<std::string>{"process_13", "process_17"}));
}

TEST(Exports, CarriesItsSoname) {
  // The name the program's loader asks for (KORDEL_SONAME) is the one the file carries.
  EXPECT_EQ(read_dynamic_info(KORDEL_LIBRARY_PATH).soname, KORDEL_SONAME);
}

}  // namespace
