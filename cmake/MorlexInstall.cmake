# Install rules and the CMake package (filled in below).
