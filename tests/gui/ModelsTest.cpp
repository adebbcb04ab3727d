#include "Models.h"
#include "DataFiles.h"
#include "TempDataTree.h"

#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>

namespace {

const std::string dataDir = VELTMARK_SOURCE_DATA;

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// Triangles the polygons of an LWO2 file make, read straight from its POLS chunks, to compare
// with what the importer delivers.
size_t trianglesInFile(const std::string& path) {
    const auto b = readBytes(path);
    size_t triangles = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id(b.begin() + at, b.begin() + at + 4);
        const size_t size = be32(b, at + 4), body = at + 8;
        if (id == "POLS") {
            for (size_t p = body + 4; p < body + size;) {
                const size_t corners = (b[p] << 8 | b[p + 1]) & 0x3FF;
                p += 2;
                for (size_t k = 0; k < corners; ++k) {
                    p += b[p] == 0xFF ? 4 : 2;
                }
                triangles += corners - 2;
            }
        }
        at = body + size + size % 2;
    }
    return triangles;
}

struct Bounds {
    std::array<float, 3> lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
};

Bounds boundsOf(const Assimp3Dmodel& model) {
    Bounds b;
    for (size_t i = 0; i < model.vertices.size(); ++i) {
        b.lo[i % 3] = std::min(b.lo[i % 3], model.vertices[i]);
        b.hi[i % 3] = std::max(b.hi[i % 3], model.vertices[i]);
    }
    return b;
}

struct Facing {
    double volume = 0;   // signed: positive when the triangles face outwards
    size_t agreeing = 0; // corners whose normal is on the front side of their triangle
    size_t unitNormals = 0;
};

Facing facingOf(const Assimp3Dmodel& model) {
    Facing f;
    const auto& v = model.vertices;
    const auto& n = model.normals;
    for (int t = 0; t < model.triangleCount; ++t) {
        const float* a = &v[t * 9];
        const float *b = a + 3, *c = a + 6;
        const double e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const double e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const double cross[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                                 e1[0] * e2[1] - e1[1] * e2[0]};
        f.volume += (a[0] * cross[0] + a[1] * cross[1] + a[2] * cross[2]) / 6.0;
        for (int k = 0; k < 3; ++k) {
            const float* normal = &n[t * 9 + k * 3];
            if (normal[0] * cross[0] + normal[1] * cross[1] + normal[2] * cross[2] > 0) {
                ++f.agreeing;
            }
            const float length =
                std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
            if (std::fabs(length - 1) < 1e-3f) {
                ++f.unitNormals;
            }
        }
    }
    return f;
}

struct PieceFile {
    const char* name;
    float minHeight, maxHeight;
};

const PieceFile pieceFiles[] = {{"king", 3.0f, 3.5f},   {"queen", 2.7f, 3.1f},
                                {"rook", 1.8f, 2.2f},   {"bishop", 2.3f, 2.7f},
                                {"knight", 2.0f, 2.5f}, {"pawn", 1.4f, 1.8f}};

TEST(PieceModels, LoadWholeAndStandOnTheirSquare) {
    std::map<std::string, float> height;
    for (const auto& piece : pieceFiles) {
        SCOPED_TRACE(piece.name);
        const std::string path = dataDir + "/gfx/" + piece.name + ".lwo";
        Piece3Dmodel model(path, true, 0.0);
        // Every polygon of the file arrives as triangles; none is dropped or split apart.
        EXPECT_GT(model.triangleCount, 500);
        EXPECT_EQ(static_cast<size_t>(model.triangleCount), trianglesInFile(path));
        EXPECT_EQ(model.vertices.size(), static_cast<size_t>(model.triangleCount) * 9);
        EXPECT_EQ(model.scene, nullptr);

        const Bounds b = boundsOf(model);
        EXPECT_NEAR(b.lo[1], 0.0f, 1e-4f) << "the base stands on the board";
        EXPECT_GE(b.hi[1], piece.minHeight);
        EXPECT_LE(b.hi[1], piece.maxHeight);
        height[piece.name] = b.hi[1];
        // The footprint stays inside its 2-unit square with room to spare, centred on it.
        for (int axis : {0, 2}) {
            EXPECT_LT(b.hi[axis], 0.85f);
            EXPECT_GT(b.lo[axis], -0.85f);
        }
        EXPECT_NEAR(b.hi[0], -b.lo[0], 0.02f) << "symmetric left to right";

        // Closed and facing outwards, with smooth unit normals on the outer side.
        const Facing f = facingOf(model);
        EXPECT_GT(f.volume, 0.2);
        EXPECT_GE(f.agreeing, static_cast<size_t>(model.triangleCount) * 3 * 99 / 100);
        EXPECT_EQ(f.unitNormals, static_cast<size_t>(model.triangleCount) * 3);
    }
    EXPECT_GT(height["king"], height["queen"]);
    EXPECT_GT(height["queen"], height["bishop"]);
    EXPECT_GT(height["bishop"], height["knight"]);
    EXPECT_GT(height["knight"], height["rook"]);
    EXPECT_GT(height["rook"], height["pawn"]);
}

TEST(PieceModels, ReadingAFileAgainGivesTheSameArrays) {
    const std::string path = dataDir + "/gfx/queen.lwo";
    Piece3Dmodel white(path, true, 0.0);
    Assimp3Dmodel other(dataDir + "/gfx/rook.lwo");
    Piece3Dmodel black(path, false, 90.0);
    EXPECT_EQ(white.triangleCount, black.triangleCount);
    EXPECT_EQ(white.vertices, black.vertices);
    EXPECT_EQ(white.normals, black.normals);
    EXPECT_NE(other.triangleCount, white.triangleCount);
    EXPECT_EQ(white.isWhite, 1);
    EXPECT_EQ(black.isWhite, 0);
    EXPECT_EQ(black.rotationDegrees, 90.0);
}

TEST(PieceModels, KnightLooksAlongPlusZ) {
    Assimp3Dmodel knight(dataDir + "/gfx/knight.lwo");
    // Of the head (above the base), the muzzle reaches further forward than the mane behind.
    float front = -1e9f, back = 1e9f;
    for (size_t i = 0; i < knight.vertices.size(); i += 3) {
        if (knight.vertices[i + 1] < 1.2f) {
            continue;
        }
        front = std::max(front, knight.vertices[i + 2]);
        back = std::min(back, knight.vertices[i + 2]);
    }
    EXPECT_GT(front, 0.6f);
    EXPECT_GT(back, -0.45f);
    EXPECT_GT(front, -back + 0.3f);
}

TEST(BoardModel, SurroundsThePlayingSurfaceJustBelowIt) {
    const std::string path = dataDir + "/gfx/board.lwo";
    Assimp3Dmodel board(path);
    EXPECT_EQ(static_cast<size_t>(board.triangleCount), trianglesInFile(path));
    const Bounds b = boundsOf(board);
    EXPECT_LT(b.hi[1], 0.0f);
    EXPECT_GT(b.hi[1], -0.1f);
    EXPECT_LT(b.lo[1], -0.5f);
    for (int axis : {0, 2}) {
        EXPECT_GT(b.hi[axis], 8.5f);
        EXPECT_LT(b.lo[axis], -8.5f);
        EXPECT_NEAR(b.hi[axis], -b.lo[axis], 1e-4f);
    }
    // The level under the playing surface: every point within the 16 x 16 squares lies at the
    // same height, a little below y = 0.
    for (size_t i = 0; i < board.vertices.size(); i += 3) {
        const float x = board.vertices[i], y = board.vertices[i + 1], z = board.vertices[i + 2];
        if (std::fabs(x) < 7.99f && std::fabs(z) < 7.99f) {
            ADD_FAILURE() << "a point inside the playing area at " << x << ", " << y << ", " << z;
        }
        if (std::fabs(x) <= 8.0f && std::fabs(z) <= 8.0f && y > -0.5f) {
            EXPECT_NEAR(y, b.hi[1], 0.02f);
        }
    }
    EXPECT_GT(facingOf(board).volume, 100.0);
}

TEST(ModelFiles, AnUnreadableFileNamesItselfAndTheImportersError) {
    TempDataTree tree;
    const auto path = tree.touch("broken.lwo", "FORM....LWO2 is not enough to be a model");
    try {
        Assimp3Dmodel model(path);
        FAIL() << "a broken file was read";
    } catch (const DataFileException& failure) {
        const std::string message = failure.what();
        const std::string prefix = "cannot read the model file \"" + path + "\": ";
        ASSERT_EQ(message.rfind(prefix, 0), 0u) << message;
        EXPECT_GT(message.size(), prefix.size()) << "the importer's error is missing";
    }
    try {
        Assimp3Dmodel model(tree.path("absent.lwo").string());
        FAIL() << "a missing file was read";
    } catch (const DataFileException& failure) {
        EXPECT_NE(std::string(failure.what()).find("absent.lwo"), std::string::npos);
    }
}

// Builds from scenes made in memory, to pin down how the scene graph is walked.
class SceneModel : public Assimp3Dmodel {
public:
    explicit SceneModel(const aiScene* made) : Assimp3Dmodel(made) {}
};

aiMesh* meshOf(const std::vector<std::vector<unsigned>>& faces, float offset) {
    auto* mesh = new aiMesh;
    mesh->mNumVertices = 4;
    mesh->mVertices = new aiVector3D[4];
    mesh->mNormals = new aiVector3D[4];
    for (unsigned i = 0; i < 4; ++i) {
        mesh->mVertices[i] = aiVector3D(offset + i, 10.0f * i, -1.0f * i);
        mesh->mNormals[i] = aiVector3D(0, 1, offset);
    }
    mesh->mNumFaces = static_cast<unsigned>(faces.size());
    mesh->mFaces = new aiFace[faces.size()];
    for (size_t f = 0; f < faces.size(); ++f) {
        mesh->mFaces[f].mNumIndices = static_cast<unsigned>(faces[f].size());
        mesh->mFaces[f].mIndices = new unsigned[faces[f].size()];
        std::copy(faces[f].begin(), faces[f].end(), mesh->mFaces[f].mIndices);
    }
    return mesh;
}

void attach(aiNode* parent, std::vector<aiNode*> children) {
    parent->mNumChildren = static_cast<unsigned>(children.size());
    parent->mChildren = new aiNode*[children.size()];
    for (size_t i = 0; i < children.size(); ++i) {
        parent->mChildren[i] = children[i];
        children[i]->mParent = parent;
    }
}

void reference(aiNode* node, std::vector<unsigned> meshes) {
    node->mNumMeshes = static_cast<unsigned>(meshes.size());
    node->mMeshes = new unsigned[meshes.size()];
    std::copy(meshes.begin(), meshes.end(), node->mMeshes);
}

TEST(CollectTriangles, WalksNodesDepthFirstCopyingSharedMeshesOncePerReference) {
    aiScene scene;
    scene.mNumMeshes = 2;
    scene.mMeshes = new aiMesh*[2];
    scene.mMeshes[0] = meshOf({{0, 1, 2}, {1, 2, 3}}, 0.0f);                 // two triangles
    scene.mMeshes[1] = meshOf({{3, 2, 1}, {0, 1, 2, 3}, {2, 1, 0}}, 100.0f); // and a quad
    scene.mRootNode = new aiNode("root");
    auto *first = new aiNode("first"), *second = new aiNode("second"), *deep = new aiNode("deep");
    reference(scene.mRootNode, {1});
    reference(first, {0, 1});
    reference(deep, {0});
    attach(scene.mRootNode, {first, second});
    attach(second, {deep});

    SceneModel model(&scene);
    // Root: mesh 1 (3 slots); first: meshes 0 and 1 (2 + 3); deep: mesh 0 (2).
    ASSERT_EQ(model.triangleCount, 10);
    auto cornerX = [&](int slot, int corner) { return model.vertices[slot * 9 + corner * 3]; };
    const float expectedFirstCorner[10] = {103, 0, 102, 0, 1, 103, 0, 102, 0, 1};
    for (int slot = 0; slot < 10; ++slot) {
        EXPECT_EQ(cornerX(slot, 0), expectedFirstCorner[slot]) << "slot " << slot;
    }
    // The quad keeps its slots (1 and 6) at zero, normals included.
    for (int slot : {1, 6}) {
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(model.vertices[slot * 9 + i], 0.0f);
            EXPECT_EQ(model.normals[slot * 9 + i], 0.0f);
        }
    }
    // Corners carry their own position and normal.
    EXPECT_EQ(model.vertices[9 * 2 + 3 * 1 + 1], 10.0f); // slot 2, corner 1 is vertex 1
    EXPECT_EQ(model.normals[9 * 0 + 2], 100.0f);         // mesh 1's normals
    EXPECT_EQ(model.normals[9 * 3 + 2], 0.0f);           // mesh 0's
    EXPECT_EQ(model.normals[9 * 3 + 1], 1.0f);
}

TEST(CollectTriangles, ASceneWithoutMeshesDrawsNothing) {
    aiScene scene;
    scene.mRootNode = new aiNode("empty");
    attach(scene.mRootNode, {new aiNode("child")});
    SceneModel model(&scene);
    EXPECT_EQ(model.triangleCount, 0);
    EXPECT_TRUE(model.vertices.empty());
    EXPECT_TRUE(model.normals.empty());
}

} // namespace
