#pragma once

#include <cstddef>
#include <string>

// A text read a part at a time, so that whoever keeps it need not hand it over whole.
class ThltTextSource {
public:
  virtual ~ThltTextSource() = default;
  virtual std::size_t Size() const = 0;
  // Appends the count bytes at from to out; the range lies within the text.
  virtual void Read(std::size_t from, std::size_t count, std::string& out) const = 0;
};

// A text held whole in a string, which must outlive the source.
class ThltStringSource final : public ThltTextSource {
public:
  explicit ThltStringSource(const std::string& text) : FText(text) {}
  std::size_t Size() const override { return FText.size(); }
  void Read(std::size_t from, std::size_t count, std::string& out) const override {
    out.append(FText, from, count);
  }

private:
  const std::string& FText;
};
