-- Run by neovim-test.sh in Neovim, with the documented configuration loaded,
-- on a copy of golden/neovim.enums: writes what the language server sent
-- through Neovim's own client to $ENUMGEN_NVIM_OUT and quits. Every wait is
-- bounded; what never came ends the run with a line saying so.
local out = {}
local function say(...) vim.list_extend(out, vim.split(string.format(...), '\n')) end
local buffer = vim.api.nvim_get_current_buf()
local clients = vim.lsp.get_clients or vim.lsp.get_active_clients

local function diagnostics(heading, ready)
  if not vim.wait(10000, function() return ready(vim.diagnostic.get(buffer)) end, 20) then
    error(heading .. ': no diagnostics within 10 s', 0)
  end
  local all = vim.diagnostic.get(buffer)
  table.sort(all, function(a, b) return a.lnum * 1000 + a.col < b.lnum * 1000 + b.col end)
  say('%s:', heading)
  for _, d in ipairs(all) do
    say('%d:%d: %s: %s', d.lnum + 1, d.col + 1, vim.diagnostic.severity[d.severity]:lower(), d.message)
  end
end

local function request(method, line, character)
  local answers = vim.lsp.buf_request_sync(buffer, method, {
    textDocument = { uri = vim.uri_from_bufnr(buffer) },
    position = { line = line, character = character },
  }, 10000)
  local _, answer = next(answers or {})
  return answer and answer.result or error(method .. ': no answer within 10 s', 0)
end

local function symbols(list, indent)
  for _, s in ipairs(list) do
    say('%s%s %s: %s, lines %d-%d', indent, vim.lsp.protocol.SymbolKind[s.kind], s.name, s.detail,
      s.range.start.line + 1, s.range['end'].line + 1)
    symbols(s.children or {}, indent .. '  ')
  end
end

local function run()
  say('filetype: %s', vim.bo.filetype)
  diagnostics('opened', function(d) return #d > 0 end)
  say('hover on -Arrow:\n%s', request('textDocument/hover', 6, 1).contents.value)
  say('outline:')
  symbols(request('textDocument/documentSymbol', 0, 0), '  ')

  vim.api.nvim_buf_set_lines(buffer, 4, 5, true, { '-Triangle' })
  diagnostics('after renaming the second Circle', function(d) return #d == 1 end)

  -- A second list joins the running server.
  vim.cmd('edit ' .. vim.fn.fnamemodify(vim.fn.tempname(), ':h') .. '/enum-list')
  local list, server = vim.api.nvim_get_current_buf(), clients()[1].id
  vim.wait(10000, function() return vim.lsp.buf_is_attached(list, server) end, 20)
  say('a buffer named enum-list: filetype %s, attached: %s, servers: %d', vim.bo.filetype,
    vim.lsp.buf_is_attached(list, server), #clients())
end

local ok, failure = pcall(run)
if not ok then say('stopped: %s', failure) end
vim.fn.writefile(out, os.getenv('ENUMGEN_NVIM_OUT'))
vim.cmd('qall!')
