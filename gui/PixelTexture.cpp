#include "PixelTexture.h"

#include <cstdint>

PixelTexture::~PixelTexture() {
    // Another thread has no OpenGL context; the texture then goes with the rendering thread's.
    if (name_ != 0 && owner_ == std::this_thread::get_id()) {
        glDeleteTextures(1, &name_);
    }
}

void PixelTexture::upload(const uint8_t* pixels, int width, int height) {
    // The scene keeps its board texture bound from one frame to the next.
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    if (name_ == 0) {
        glGenTextures(1, &name_);
        owner_ = std::this_thread::get_id();
    }
    glBindTexture(GL_TEXTURE_2D, name_);
    // Shown at its own size: nearest keeps the pixels crisp.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
}

void* PixelTexture::toolkitId() const {
    return reinterpret_cast<void*>(static_cast<intptr_t>(name_));
}
