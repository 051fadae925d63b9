#include "removal/ZipCallbackSource.h"

namespace vastel {

ZipCallbackSource::ZipCallbackSource() { zip_error_init(&error_); }

ZipCallbackSource::~ZipCallbackSource() { zip_error_fini(&error_); }

zip_source_t* ZipCallbackSource::adopt(ZipCallbackSource* self, zip_error_t* error) {
    zip_source_t* source = zip_source_function_create(&ZipCallbackSource::callback, self, error);
    if (!source) delete self;
    return source;
}

zip_int64_t ZipCallbackSource::fail(int zipError, int systemError) {
    zip_error_set(&error_, zipError, systemError);
    return -1;
}

zip_int64_t ZipCallbackSource::callback(void* self, void* data, zip_uint64_t length,
                                        zip_source_cmd_t cmd) {
    auto* source = static_cast<ZipCallbackSource*>(self);
    switch (cmd) {
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&source->error_, data, length);
        case ZIP_SOURCE_FREE:
            delete source;
            return 0;
        default:
            return source->run(data, length, cmd);
    }
}

}  // namespace vastel
