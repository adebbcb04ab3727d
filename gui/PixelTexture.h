#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <thread>

// Pixels made on the CPU, shown by the toolkit as an image. Uploaded and drawn on the rendering
// thread, whose OpenGL context holds the texture.
class PixelTexture {
public:
    PixelTexture() = default;
    ~PixelTexture();
    PixelTexture(const PixelTexture&) = delete;
    PixelTexture& operator=(const PixelTexture&) = delete;

    // RGBA rows, width × height; the texture is made by the first upload.
    void upload(const uint8_t* pixels, int width, int height);
    bool exists() const { return name_ != 0; }
    // What the toolkit's image calls take.
    void* toolkitId() const;

private:
    GLuint name_ = 0;
    std::thread::id owner_;
};
