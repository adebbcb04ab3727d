// Writes the program's data files (the board and piece models, a coarser set of the pieces for
// their mirror image, the board texture and the sounds) into the folder given on the command line,
// laid out as the program looks them up.
#include "BoardImage.h"
#include "Gif.h"
#include "Lwo.h"
#include "Pieces.h"
#include "Sounds.h"
#include "Wav.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

void write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
    std::cout << path.string() << ": " << bytes.size() << " bytes\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: veltmark-generate-assets <data folder>\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    try {
        const float ivory[3] = {0.9f, 0.88f, 0.82f};
        const float green[3] = {0.5f, 0.6f, 0.5f};
        const struct {
            const char* name;
            LwoMesh (*make)(const Detail&);
        } pieces[] = {{"king", kingMesh},     {"queen", queenMesh},   {"rook", rookMesh},
                      {"bishop", bishopMesh}, {"knight", knightMesh}, {"pawn", pawnMesh}};
        for (const auto& piece : pieces) {
            const std::string file = std::string(piece.name) + ".lwo";
            write(root / "gfx" / file, encodeLwo(piece.make(fullDetail), piece.name, ivory));
            write(root / "gfx" / "coarse" / file,
                  encodeLwo(piece.make(coarseDetail), piece.name, ivory));
        }
        write(root / "gfx" / "board.lwo", encodeLwo(boardMesh(), "board", green));
        write(root / "textures" / "board.gif", encodeGif(boardImage()));
        const struct {
            const char* name;
            std::vector<int16_t> (*make)();
        } sounds[] = {{"move", moveSound},
                      {"capture", captureSound},
                      {"check", checkSound},
                      {"end", gameEndSound}};
        for (const auto& sound : sounds) {
            write(root / "sounds" / (std::string(sound.name) + ".wav"),
                  encodeWav(sound.make(), soundSampleRate));
        }
    } catch (const std::exception& failure) {
        std::cerr << "veltmark-generate-assets: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
