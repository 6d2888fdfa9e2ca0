# Writes OUTPUT, a C++ source that carries the bank files DIR/NAME.KSB for each NAME of
# BANKS as byte arrays and registers each with the resource manager under its NAME.
# Run with cmake -DOUTPUT=... -DDIR=... -DBANKS="a;b" -P embed_banks.cmake.
# Sixteen bytes a line (CMake's regular expressions have no counted repetition).
string(REPEAT "0x..," 16 line)
set(arrays "")
set(registrations "")
foreach(name IN LISTS BANKS)
  file(READ ${DIR}/${name}.KSB hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "const unsigned char k_${name}[] = {\n    ${bytes}\n};\n")
  string(APPEND registrations
         "    MNResourceManager::AddBuiltInBank(\"${name}\", k_${name}, sizeof(k_${name}));\n")
endforeach()
file(WRITE ${OUTPUT}.new "// Made by embed_banks.cmake from the built-in sprite banks.
#include <services/mnresourcemanager.h>
#include <shell/mnbuiltinbanks.h>

namespace Kelvo_lib {
namespace {

${arrays}
} // namespace

void MNBuiltInBanks::Register() {
${registrations}}

} // namespace Kelvo_lib
")
file(RENAME ${OUTPUT}.new ${OUTPUT})
