#include "wine/KeyValuesText.h"

#include "platform/TextRules.h"

#include <algorithm>
#include <optional>

class KeyValuesParser {
public:
    explicit KeyValuesParser(std::string_view text) : text_(text) {}

    void Block(KeyValuesNode& node, int depth) {
        node.block_ = true;
        while (true) {
            std::optional<std::string> key = Token();
            if (!key)
                return; // end of text or a closing brace
            SkipCondition();
            SkipSpace();
            if (pos_ < text_.size() && text_[pos_] == '{') {
                ++pos_;
                KeyValuesNode child;
                if (depth < kMaxDepth)
                    Block(child, depth + 1);
                else
                    SkipBlock();
                node.children_.emplace_back(std::move(*key), std::move(child));
            } else {
                std::optional<std::string> value = Token();
                if (!value)
                    return;
                KeyValuesNode child;
                child.value_ = std::move(*value);
                node.children_.emplace_back(std::move(*key), std::move(child));
            }
            SkipCondition();
        }
    }

    bool AtEnd() {
        SkipSpace();
        return pos_ >= text_.size();
    }

private:
    static constexpr int kMaxDepth = 64;

    void SkipSpace() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n')
                    ++pos_;
            } else {
                return;
            }
        }
    }

    // A quoted or bare word; no value at the end of the text or at a closing brace (consumed).
    std::optional<std::string> Token() {
        SkipSpace();
        if (pos_ >= text_.size())
            return std::nullopt;
        if (text_[pos_] == '}') {
            ++pos_;
            return std::nullopt;
        }
        std::string word;
        if (text_[pos_] == '"') {
            ++pos_;
            while (pos_ < text_.size() && text_[pos_] != '"') {
                char c = text_[pos_++];
                if (c == '\\' && pos_ < text_.size()) {
                    const char e = text_[pos_++];
                    c = e == 'n' ? '\n' : e == 't' ? '\t' : e;
                }
                word += c;
            }
            pos_ = std::min(pos_ + 1, text_.size()); // past the closing quote
            return word;
        }
        if (text_[pos_] == '{') {
            // A block without a key: read and drop it so the rest stays in step.
            ++pos_;
            SkipBlock();
            return std::string();
        }
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '{' || c == '}')
                break;
            word += c;
            ++pos_;
        }
        return word;
    }

    void SkipCondition() {
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == '[') {
            const size_t end = text_.find(']', pos_);
            pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        }
    }

    // Skips to the brace that closes a block whose opening brace was read, quotes respected.
    void SkipBlock() {
        int depth = 1;
        while (pos_ < text_.size() && depth > 0) {
            const char c = text_[pos_++];
            if (c == '"') {
                while (pos_ < text_.size() && text_[pos_] != '"')
                    pos_ += text_[pos_] == '\\' ? 2 : 1;
                ++pos_;
            } else if (c == '{') {
                ++depth;
            } else if (c == '}') {
                --depth;
            }
        }
        if (pos_ > text_.size())
            pos_ = text_.size();
    }

    std::string_view text_;
    size_t pos_ = 0;
};

KeyValuesNode KeyValuesNode::Parse(std::string_view text) {
    KeyValuesNode root;
    root.block_ = true; // the file is a block, even an empty one
    KeyValuesParser parser(text);
    // A stray closing brace at the top level ends nothing: reading goes on after it.
    while (!parser.AtEnd())
        parser.Block(root, 0);
    return root;
}

const KeyValuesNode* KeyValuesNode::Find(std::string_view key) const {
    for (const auto& [name, node] : children_)
        if (SameText(name, key))
            return &node;
    return nullptr;
}

const KeyValuesNode* KeyValuesNode::Find(std::initializer_list<std::string_view> path) const {
    const KeyValuesNode* node = this;
    for (std::string_view key : path) {
        node = node->Find(key);
        if (!node)
            return nullptr;
    }
    return node;
}
