# The layers of src/, lowest first, and the layers each one may use. The
# libraries link exactly these.

set(ORVANTA_LAYERS model skins render package platform interaction dialogs automation app)

set(ORVANTA_LAYER_USES_model "")
set(ORVANTA_LAYER_USES_skins model)
set(ORVANTA_LAYER_USES_render skins model)
set(ORVANTA_LAYER_USES_package skins model)
set(ORVANTA_LAYER_USES_platform model)
set(ORVANTA_LAYER_USES_interaction render package platform skins model)
set(ORVANTA_LAYER_USES_dialogs interaction platform skins model)
set(ORVANTA_LAYER_USES_automation interaction model)
set(ORVANTA_LAYER_USES_app automation dialogs interaction platform package render skins model)
