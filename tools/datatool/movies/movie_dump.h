// datatool dump of a THP movie file: its header, components and every frame's sizes.
#pragma once

#include <string>

namespace datatool {

bool IsMovieFile(const std::string& path);
int RunMovieDump(int argc, char** argv);

} // namespace datatool
