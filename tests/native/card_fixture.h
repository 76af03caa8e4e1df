// A fresh virtual card with its own state file for each test.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "card.h"

class CardTest : public ::testing::Test {
protected:
    CardTest() : m_path(NewStatePath()), card(m_path) {}
    ~CardTest() override {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }

    static std::filesystem::path NewStatePath() {
        static std::atomic<int> serial{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        auto path = std::filesystem::temp_directory_path() /
                    ("orvane-card-" + name + "-" + std::to_string(serial++) + ".ini");
        std::filesystem::remove(path);
        return path;
    }

    // Every handle and list the code under test took has been given back.
    void ExpectNothingHeld() {
        EXPECT_EQ(card.OpenDriverHandles(), 0);
        EXPECT_EQ(card.OpenLists(), 0);
        EXPECT_EQ(card.BadCloses(), 0);
    }

    std::filesystem::path m_path;
    vcard::CVirtualCard card;
};
