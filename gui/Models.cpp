#include "Models.h"

#include "DataFiles.h"
#include "Settings.h"

#include <GL/gl.h>
#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <mutex>

static_assert(modelPostProcessing ==
              (aiProcess_JoinIdenticalVertices | aiProcess_Triangulate |
               aiProcess_GenSmoothNormals | aiProcess_SplitLargeMeshes |
               aiProcess_ValidateDataStructure | aiProcess_ImproveCacheLocality |
               aiProcess_RemoveRedundantMaterials | aiProcess_FixInfacingNormals |
               aiProcess_SortByPType | aiProcess_FindDegenerates | aiProcess_FindInvalidData |
               aiProcess_GenUVCoords | aiProcess_OptimizeMeshes | aiProcess_OptimizeGraph));

namespace {

// The importer is not thread-safe and owns the scene it returned until the next read.
std::mutex importerMutex;

Assimp::Importer& sharedImporter() {
    static Assimp::Importer* importer = [] {
        auto* created = new Assimp::Importer;
        created->SetPropertyInteger("GLOB_MEASURE_TIME", 1);
        return created;
    }();
    return *importer;
}

void countFaces(const aiScene* scene, const aiNode* node, int32_t& count) {
    for (unsigned i = 0; i < node->mNumMeshes; ++i) {
        count += static_cast<int32_t>(scene->mMeshes[node->mMeshes[i]]->mNumFaces);
    }
    for (unsigned i = 0; i < node->mNumChildren; ++i) {
        countFaces(scene, node->mChildren[i], count);
    }
}

} // namespace

Assimp3Dmodel::Assimp3Dmodel(const std::string& path) {
    std::lock_guard lock(importerMutex);
    Assimp::Importer& importer = sharedImporter();
    importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE,
                                aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    scene = importer.ReadFile(path, modelPostProcessing);
    if (scene == nullptr) {
        throw DataFileException("cannot read the model file \"" + path +
                                "\": " + importer.GetErrorString());
    }
    build();
    scene = nullptr;
}

Assimp3Dmodel::Assimp3Dmodel(const aiScene* madeScene) {
    scene = madeScene;
    build();
    scene = nullptr;
}

void Assimp3Dmodel::build() {
    triangleCount = 0;
    if (scene != nullptr && scene->mRootNode != nullptr) {
        countFaces(scene, scene->mRootNode, triangleCount);
    }
    vertices.assign(static_cast<size_t>(triangleCount) * 9, 0.0f);
    normals.assign(static_cast<size_t>(triangleCount) * 9, 0.0f);
    int nextSlot = 0;
    if (triangleCount > 0) {
        collectTriangles(scene->mRootNode, nextSlot);
    }
}

void Assimp3Dmodel::collectTriangles(const aiNode* node, int& nextSlot) {
    for (unsigned m = 0; m < node->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[node->mMeshes[m]];
        for (unsigned f = 0; f < mesh->mNumFaces; ++f, ++nextSlot) {
            const aiFace& face = mesh->mFaces[f];
            // Any other polygon keeps its slot of zeros, which draws nothing visible.
            if (face.mNumIndices != 3) {
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                const unsigned index = face.mIndices[k];
                const size_t at = (static_cast<size_t>(nextSlot) * 3 + k) * 3;
                const aiVector3D& p = mesh->mVertices[index];
                vertices[at] = p.x;
                vertices[at + 1] = p.y;
                vertices[at + 2] = p.z;
                if (mesh->mNormals != nullptr) {
                    const aiVector3D& n = mesh->mNormals[index];
                    normals[at] = n.x;
                    normals[at + 1] = n.y;
                    normals[at + 2] = n.z;
                }
            }
        }
    }
    for (unsigned i = 0; i < node->mNumChildren; ++i) {
        collectTriangles(node->mChildren[i], nextSlot);
    }
}

void Assimp3Dmodel::draw() {
    drawTriangles();
}

void Assimp3Dmodel::drawTriangles() const {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertices.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glDrawArrays(GL_TRIANGLES, 0, 3 * triangleCount);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
}

Piece3Dmodel::Piece3Dmodel(const std::string& path, bool white, double rotation)
    : Assimp3Dmodel(path), isWhite(white ? 1 : 0), rotationDegrees(rotation) {}

void Piece3Dmodel::draw() {
    drawAs(*this);
}

void Piece3Dmodel::drawAs(const Assimp3Dmodel& shape) {
    const uint8_t* colour = isWhite == 1 ? settings.whiteColor : settings.blackColor;
    const float scale = 0.003921569f;
    glColor3f(colour[0] * scale, colour[1] * scale, colour[2] * scale);
    glRotated(rotationDegrees, 0.0, 1.0, 0.0);
    shape.drawTriangles();
}
