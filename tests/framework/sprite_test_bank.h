// Sprite banks for the sprite, sprite manager and font suites: built and written by the data
// tool's own bank writer and loaded from memory, with the content kept apart so that a test
// can change a record before the bank is written.
#pragma once

#include <sprites/sprite_bank_builder.h>
#include <sprites/sprite_bank_writer.h>

#include <framework/kspritebank.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/io/kmemoryiostream.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sprite_test_bank {

using datatool::ArgbImage;
using datatool::SpriteBankContent;
using datatool::SpriteSource;
using Kelvo_lib::kSharedPtr;
using Kelvo_lib::kSpriteBank;

inline SpriteBankContent Build(const std::vector<SpriteSource>& sprites,
                               unsigned int pageSize = datatool::kDefaultPageSize) {
    SpriteBankContent content;
    std::string error;
    EXPECT_TRUE(datatool::BuildSpriteBank(sprites, pageSize, &content, &error)) << error;
    return content;
}

inline kSharedPtr<kSpriteBank> Load(const SpriteBankContent& content) {
    std::vector<unsigned char> bytes = datatool::WriteSpriteBank(content, datatool::kCurrentLayout);
    Kelvo_lib::kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()),
                                      K_IO_ACCESS_READ);
    return kSharedPtr<kSpriteBank>(new kSpriteBank(&stream));
}

inline kSharedPtr<kSpriteBank> Load(const std::vector<SpriteSource>& sprites,
                                    unsigned int pageSize = datatool::kDefaultPageSize) {
    return Load(Build(sprites, pageSize));
}

inline ArgbImage Filled(unsigned int width, unsigned int height, std::uint32_t argb) {
    ArgbImage image(width, height);
    image.pixels.assign(image.pixels.size(), argb);
    return image;
}

} // namespace sprite_test_bank
