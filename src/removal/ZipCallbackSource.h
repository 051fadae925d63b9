#pragma once

#include <zip.h>

namespace vastel {

// What every libzip source of ours has in common: the error libzip asks for after a failed
// command, the hand-over of the object to libzip, and its deletion when libzip frees the source.
// A subclass answers the other commands in run().
class ZipCallbackSource {
  protected:
    ZipCallbackSource();
    virtual ~ZipCallbackSource();

    // Gives self to libzip, which owns it from then on; deletes it when no source was made.
    static zip_source_t* adopt(ZipCallbackSource* self, zip_error_t* error);
    // Answers one command other than ZIP_SOURCE_ERROR and ZIP_SOURCE_FREE.
    virtual zip_int64_t run(void* data, zip_uint64_t length, zip_source_cmd_t cmd) = 0;
    // Records the error for libzip and returns the failure.
    zip_int64_t fail(int zipError, int systemError);

    zip_error_t error_;

  private:
    static zip_int64_t callback(void* self, void* data, zip_uint64_t length, zip_source_cmd_t cmd);
};

}  // namespace vastel
