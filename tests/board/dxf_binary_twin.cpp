// Writes the binary twin of a text DXF file, for the test data:
//   dxf_binary_twin in.dxf out.dxf
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "cad/board/model/dxf.h"
#include "cad/board/model/dxf_binary.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: dxf_binary_twin in.dxf out.dxf\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        std::ofstream(argv[2], std::ios::binary) << tendra::board::dxf::textToBinary(text);
    } catch (const tendra::board::LoadError& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
