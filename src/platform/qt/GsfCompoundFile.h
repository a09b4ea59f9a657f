#pragma once
// The score-file container on libgsf: reads and writes OLE2 compound files
// (the structured storage of the framework's documents).

#include "platform/CompoundFile.h"

class KGsfCompoundFile final : public KCompoundFile {
 public:
  KContainerRead Read(const std::filesystem::path& path) const override;
  KContainerWrite Write(const std::filesystem::path& path,
                        std::span<const std::uint8_t> contents) const override;
};
