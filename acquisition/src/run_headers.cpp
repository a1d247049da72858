#include "acquisition/run_headers.h"

#include "acquisition/raw_file_naming.h"
#include "platform/gbk_text.h"

namespace sundrel::acquisition {

RunHeaders makeRunHeaders(const RunSetup& setup, std::string_view startTime) {
    const RawFileNames names = makeRawFileNames(startTime, setup.leftName, setup.rightName);
    const std::string folder = storageFolder(setup.folder);
    RunHeaders headers{makeRawFileHeader(), makeRawFileHeader()};
    const auto fill = [&](RawFileHeader& header, int side, int port, const std::string& name) {
        header.line = {port,
                       setup.baud,
                       setup.parity,
                       setup.dataBits,
                       setup.stopBits,
                       setup.collectionCommand,
                       setup.dataBytesTrigger,
                       side};
        setHeaderText(header.fileName, platform::utf8ToGbk(name));
        setHeaderText(header.folder, platform::utf8ToGbk(folder));
        setHeaderText(header.startTime, startTime);
        setHeaderText(header.lineName, platform::utf8ToGbk(setup.lineName));
        setHeaderText(header.department, platform::utf8ToGbk(setup.department));
        setHeaderText(header.staffName, platform::utf8ToGbk(setup.staffName));
        header.forward = setup.forward ? 1 : 0;
        header.position = setup.positionM;
    };
    fill(headers.left, 1, setup.leftPort, names.left);
    fill(headers.right, 2, setup.rightPort, names.right);
    return headers;
}

}  // namespace sundrel::acquisition
