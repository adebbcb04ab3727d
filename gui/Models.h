#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct aiNode;
struct aiScene;

// The importer's post-processing for every model file.
constexpr unsigned modelPostProcessing = 0x0067BCCA;

// One model file flattened into triangle arrays that a frame draws with a single call. Models are
// drawn in their file coordinates.
class Assimp3Dmodel {
public:
    // Reads the file through the shared importer and builds the arrays; a file the importer
    // cannot read raises DataFileException naming the file and the importer's error.
    explicit Assimp3Dmodel(const std::string& path);

    virtual void draw();
    // Only the triangles, with the current colour and matrix.
    void drawTriangles() const;
    // Copies the triangles of the node and its children from slot nextSlot on.
    virtual void collectTriangles(const aiNode* node, int& nextSlot);
    virtual void build();
    virtual ~Assimp3Dmodel() = default;

    Assimp3Dmodel(const Assimp3Dmodel&) = delete;
    Assimp3Dmodel& operator=(const Assimp3Dmodel&) = delete;

    int32_t triangleCount = 0;
    // Valid only while the arrays are built: the shared importer frees it with the next file.
    const aiScene* scene = nullptr;
    std::vector<float> vertices; // 3 points of x, y, z per triangle
    std::vector<float> normals;  // parallel to vertices

protected:
    // Builds from a scene made elsewhere, which the caller keeps alive during the call.
    explicit Assimp3Dmodel(const aiScene* madeScene);
};

// A piece model drawn in its side's colour from the settings and turned about the vertical axis.
class Piece3Dmodel : public Assimp3Dmodel {
public:
    Piece3Dmodel(const std::string& path, bool white, double rotation);

    void draw() override;
    // This piece, in its colour and turn, with another model's triangles: a coarser cut of the
    // same shape where a finer one would not be seen.
    void drawAs(const Assimp3Dmodel& shape);

    int32_t isWhite;
    double rotationDegrees;
};
