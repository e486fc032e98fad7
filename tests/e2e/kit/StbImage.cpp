// The PNG decoder, compiled once (without the sanitizers: it is not our code).
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
